// The formats module: zip files through libarchive, .xlsx workbooks through
// libxlsxwriter, behind the interfaces of core/transfer/FileFormats.h.
#include "formats/LibraryFormats.h"

#include <QFile>
#include <QFileInfo>
#include <archive.h>
#include <archive_entry.h>
#include <xlsxwriter.h>

namespace Transfer {

namespace {

class LibarchiveReader final : public ZipReader {
public:
    LibarchiveReader() : a_(archive_read_new()) {}
    ~LibarchiveReader() override { archive_read_free(a_); }
    LibarchiveReader(const LibarchiveReader &) = delete;
    LibarchiveReader &operator=(const LibarchiveReader &) = delete;

    bool open(const QString &path, qint64 block)
    {
        if (!a_ || !QFileInfo(path).isFile())
            return false;
        archive_read_support_format_zip_seekable(a_);
        const QByteArray name = QFile::encodeName(path);
        return archive_read_open_filename(a_, name.constData(), size_t(block)) == ARCHIVE_OK;
    }

    Step next(ZipEntry &entry) override
    {
        archive_entry *e = nullptr;
        const int status = archive_read_next_header(a_, &e);
        if (status == ARCHIVE_EOF)
            return Step::End;
        if (status < ARCHIVE_WARN)
            return Step::Failed;
        const char *utf8 = archive_entry_pathname_utf8(e);
        const char *plain = utf8 ? nullptr : archive_entry_pathname(e);
        entry.name = utf8 ? QString::fromUtf8(utf8) : QString::fromLocal8Bit(plain ? plain : "");
        entry.size = archive_entry_size_is_set(e) ? archive_entry_size(e) : -1;
        entry.regular = archive_entry_filetype(e) == AE_IFREG;
        return Step::Entry;
    }

    qint64 read(char *into, qint64 size) override
    {
        const la_ssize_t n = archive_read_data(a_, into, size_t(size));
        return n < 0 ? -1 : qint64(n);
    }

private:
    archive *a_;
};

class LibarchiveWriter final : public ZipWriter {
public:
    LibarchiveWriter(Sink sink, void *client) : a_(archive_write_new()), sink_(sink), client_(client) {}
    ~LibarchiveWriter() override { archive_write_free(a_); }
    LibarchiveWriter(const LibarchiveWriter &) = delete;
    LibarchiveWriter &operator=(const LibarchiveWriter &) = delete;

    bool open()
    {
        if (!a_)
            return false;
        archive_write_set_format_zip(a_);
        archive_write_set_bytes_in_last_block(a_, 1);
        // The fastest deflate: record files shrink well at any level, photos
        // hardly at all.
        archive_write_set_format_option(a_, "zip", "compression", "deflate");
        archive_write_set_format_option(a_, "zip", "compression-level", "1");
        const auto callback = [](archive *, void *self, const void *buffer, size_t length) -> la_ssize_t {
            auto *w = static_cast<LibarchiveWriter *>(self);
            return w->sink_(w->client_, static_cast<const char *>(buffer), qint64(length)) ? la_ssize_t(length) : -1;
        };
        return archive_write_open2(a_, this, nullptr, callback, nullptr, nullptr) == ARCHIVE_OK;
    }

    bool add(const QString &name, qint64 size, qint64 modified) override
    {
        std::unique_ptr<archive_entry, void (*)(archive_entry *)> e(archive_entry_new(), archive_entry_free);
        if (!e)
            return false;
        archive_entry_set_pathname_utf8(e.get(), name.toUtf8().constData());
        archive_entry_set_filetype(e.get(), AE_IFREG);
        archive_entry_set_perm(e.get(), 0644);
        archive_entry_set_size(e.get(), size);
        archive_entry_set_mtime(e.get(), time_t(modified), 0);
        return archive_write_header(a_, e.get()) == ARCHIVE_OK;
    }

    bool write(const char *bytes, qint64 size) override
    {
        return archive_write_data(a_, bytes, size_t(size)) == la_ssize_t(size);
    }

    bool close() override { return archive_write_close(a_) == ARCHIVE_OK; }

private:
    archive *a_;
    Sink sink_;
    void *client_;
};

class LibxlsxwriterBook final : public XlsxWriter {
public:
    ~LibxlsxwriterBook() override
    {
        if (book_)
            workbook_close(book_); // an abandoned workbook: its file is discarded
    }

    bool open(const QString &path, const QString &temporaryFolder)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        tmpdir_ = QFile::encodeName(temporaryFolder);
        options.tmpdir = tmpdir_.data();
        const QByteArray name = QFile::encodeName(path);
        book_ = workbook_new_opt(name.constData(), &options);
        if (!book_)
            return false;
        sheet_ = workbook_add_worksheet(book_, "Schede");
        lxw_format *heading = workbook_add_format(book_);
        format_set_bold(heading);
        format_set_bg_color(heading, 0xDDDDDD);
        format_set_border(heading, LXW_BORDER_THIN);
        formats_[int(Style::Heading)] = heading;
        formats_[int(Style::Euro)] = numberFormat("#,##0.00\\ [$\xE2\x82\xAC-410];\\-#,##0.00\\ [$\xE2\x82\xAC-410]");
        formats_[int(Style::Year)] = numberFormat("0");
        formats_[int(Style::Count)] = numberFormat("#,##0");
        formats_[int(Style::Date)] = numberFormat("dd/mm/yyyy");
        return sheet_ != nullptr;
    }

    bool setWidth(int column, double width) override
    {
        return worksheet_set_column(sheet_, lxw_col_t(column), lxw_col_t(column), width, nullptr) == LXW_NO_ERROR;
    }
    bool freezeFirstRow() override
    {
        worksheet_freeze_panes(sheet_, 1, 0);
        return true;
    }
    bool text(qint64 row, int column, const char *utf8, Style style) override
    {
        return worksheet_write_string(sheet_, lxw_row_t(row), lxw_col_t(column), utf8, format(style)) == LXW_NO_ERROR;
    }
    bool number(qint64 row, int column, double value, Style style) override
    {
        return worksheet_write_number(sheet_, lxw_row_t(row), lxw_col_t(column), value, format(style)) == LXW_NO_ERROR;
    }
    bool date(qint64 row, int column, int year, int month, int day, Style style) override
    {
        lxw_datetime when{year, month, day, 0, 0, 0};
        return worksheet_write_datetime(sheet_, lxw_row_t(row), lxw_col_t(column), &when, format(style)) == LXW_NO_ERROR;
    }
    bool filter(qint64 lastRow, int lastColumn) override
    {
        return worksheet_autofilter(sheet_, 0, 0, lxw_row_t(lastRow), lxw_col_t(lastColumn)) == LXW_NO_ERROR;
    }
    bool close() override
    {
        const lxw_error e = workbook_close(book_);
        book_ = nullptr;
        return e == LXW_NO_ERROR;
    }

private:
    lxw_format *numberFormat(const char *pattern)
    {
        lxw_format *f = workbook_add_format(book_);
        format_set_num_format(f, pattern);
        return f;
    }
    lxw_format *format(Style style) const { return formats_[int(style)]; }

    lxw_workbook *book_ = nullptr;
    lxw_worksheet *sheet_ = nullptr;
    lxw_format *formats_[6] = {};
    QByteArray tmpdir_;
};

class LibraryFormats final : public FileFormats {
public:
    std::unique_ptr<ZipReader> readZip(const QString &path, qint64 block) override
    {
        auto r = std::make_unique<LibarchiveReader>();
        return r->open(path, block) ? std::move(r) : nullptr;
    }
    std::unique_ptr<ZipWriter> writeZip(ZipWriter::Sink sink, void *client) override
    {
        auto w = std::make_unique<LibarchiveWriter>(sink, client);
        return w->open() ? std::move(w) : nullptr;
    }
    std::unique_ptr<XlsxWriter> writeXlsx(const QString &path, const QString &temporaryFolder) override
    {
        auto b = std::make_unique<LibxlsxwriterBook>();
        return b->open(path, temporaryFolder) ? std::move(b) : nullptr;
    }
};

} // namespace

} // namespace Transfer

Transfer::FileFormats *vetrinora_file_formats()
{
    static Transfer::LibraryFormats formats;
    return &formats;
}
