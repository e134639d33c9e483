#pragma once
// libarchive, opened the first time a backup is written or read: the program
// starts without it and the libraries it brings along. Its functions keep
// their names, as members of the one opened library.

#include <archive.h>
#include <archive_entry.h>

static_assert(ARCHIVE_VERSION_NUMBER >= 3000000, "libarchive 3, whose library is version 13");

#define VETRINORA_LIBARCHIVE_FUNCTIONS(X)                                                          \
    X(archive_read_new)                                                                            \
    X(archive_read_free)                                                                           \
    X(archive_read_support_format_zip_seekable)                                                    \
    X(archive_read_open_filename)                                                                  \
    X(archive_read_next_header)                                                                    \
    X(archive_read_data)                                                                           \
    X(archive_write_new)                                                                           \
    X(archive_write_free)                                                                          \
    X(archive_write_set_format_zip)                                                                \
    X(archive_write_set_bytes_in_last_block)                                                       \
    X(archive_write_set_format_option)                                                             \
    X(archive_write_open2)                                                                         \
    X(archive_write_header)                                                                        \
    X(archive_write_data)                                                                          \
    X(archive_write_close)                                                                         \
    X(archive_entry_new)                                                                           \
    X(archive_entry_free)                                                                          \
    X(archive_entry_pathname)                                                                      \
    X(archive_entry_pathname_utf8)                                                                 \
    X(archive_entry_size)                                                                          \
    X(archive_entry_size_is_set)                                                                   \
    X(archive_entry_filetype)                                                                      \
    X(archive_entry_set_pathname_utf8)                                                             \
    X(archive_entry_set_filetype)                                                                  \
    X(archive_entry_set_perm)                                                                      \
    X(archive_entry_set_size)                                                                      \
    X(archive_entry_set_mtime)

struct LibArchive {
#define VETRINORA_LIBARCHIVE_MEMBER(name) decltype(&::name) name = nullptr;
    VETRINORA_LIBARCHIVE_FUNCTIONS(VETRINORA_LIBARCHIVE_MEMBER)
#undef VETRINORA_LIBARCHIVE_MEMBER

    // The library with every function found, opened on the first call;
    // nullptr when the system does not have it.
    static const LibArchive *get();
};
