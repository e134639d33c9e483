#pragma once
// The one owner of a record file: every window that reads or writes cards
// asks a CardStore. Each call opens the file, acts and closes it again, so no
// handle outlives a user action; a missing file is created empty. Any failure
// (the file cannot be opened, read or written whole) throws CardStore::Failure,
// whose text is the access message the windows show.

#include "core/cards/RecordLayout.h"

#include <QString>
#include <atomic>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace platform {
class AtomicFile;
}

class CardStore {
public:
    struct Failure : std::runtime_error {
        explicit Failure(const std::string &what) : std::runtime_error(what) {}
    };
    // Another program changed the file while it was being rewritten, or
    // changed the card about to be overwritten: nothing was written.
    struct Changed : Failure {
        using Failure::Failure;
    };

    CardStore(const QString &path, const RecordLayout &layout);

    const QString &path() const { return path_; }
    const RecordLayout &layout() const { return *layout_; }

    // How many whole cards the file holds.
    qint64 count() const;
    // Card `index` (0-based).
    Record read(qint64 index) const;
    // Chooses a card from the count (nothing chosen: std::nullopt) and reads
    // it, in one opening of the file. Returns the card with its index.
    struct Chosen {
        qint64 count = 0;
        std::optional<Record> card;
        qint64 index = -1;
    };
    Chosen readChosen(const std::function<std::optional<qint64>(qint64 count)> &choose) const;
    // Overwrites card `index`, or appends when `index` is std::nullopt.
    // Returns the card's 1-based position.
    qint64 write(std::optional<qint64> index, const Record &card) const;
    qint64 append(const Record &card) const { return write(std::nullopt, card); }
    // Overwrites card `index` with `card` only while it still holds
    // `expected`, the card as it was read; throws Changed, writing nothing,
    // when another program changed or moved it meanwhile.
    qint64 update(qint64 index, const Record &card, const Record &expected) const;
    // Appends the cards that `produce` hands to `put`, all in one step: the
    // file's whole cards and the new ones go to a temporary file that
    // replaces the file only once every card is written and synced. When
    // `produce` throws, or writing fails, the file stays as it was. Returns
    // the count of cards afterwards.
    qint64 appendAll(
        const std::function<void(const std::function<void(const Record &)> &put)> &produce) const;
    // Reads the cards from first to last in batches and hands each to
    // `visit` with its index. Records are read-only and valid during the call.
    // `opened`, when given, learns the count once the file is open.
    void scan(const std::function<void(const char *record, qint64 index)> &visit,
              const std::function<void(qint64 count)> &opened = {}) const;

    // `count` cards from `first` (fewer at the end of the file), end to end.
    QByteArray readRange(qint64 first, qint64 count) const;
    // Copies the cards into `out` in order, leaving out those whose 0-based
    // indices `drop` lists (ascending), then appends `extra` (whole records).
    // Returns the records left out, end to end. `out` is not committed; it
    // is told what the file was when the copy began, so that its commit
    // refuses to replace a file that another program changed meanwhile.
    // `sourceCount`, when given, learns how many cards the file held.
    QByteArray copyInto(platform::AtomicFile &out, const std::vector<qint64> &drop,
                        QByteArrayView extra = {}, qint64 *sourceCount = nullptr) const;
    // The same reading split into `parts` runs of consecutive cards, read at
    // once, each on a thread of its own (part 0 on the calling thread):
    // `visit(part, record, index)` sees the cards of one run in file order,
    // and `done(part)` runs on that run's thread after its last card. Between
    // batches `cancelled`, when given, is polled; a cancelled scan stops and
    // returns false. `progress`, when given, counts the cards read.
    // The most cards one run of scanParts(parts, ...) gets from a file of
    // `count` cards: what a caller reserves for each run. Short files are
    // read in fewer runs than asked for, so a run may get more than
    // count / parts.
    static qint64 mostPerPart(qint64 count, int parts);
    bool scanParts(int parts, const std::function<void(int part, const char *record, qint64 index)> &visit,
                   const std::function<void(int part)> &done,
                   const std::function<void(qint64 count)> &opened = {},
                   const std::atomic<bool> *cancelled = nullptr,
                   std::atomic<qint64> *progress = nullptr) const;

    // The message shown when a record action fails.
    static QString accessMessage();
    // The messages of Changed: a whole file (`name` as the user knows it)
    // rewritten, a single card saved.
    static QString changedFileMessage(const QString &name);
    static QString changedCardMessage();

private:
    QString path_;
    const RecordLayout *layout_;
};
