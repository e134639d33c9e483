#include "core/app/IniFile.h"

#include "core/app/Messages.h"

#include "core/platform/AtomicFile.h"
#include "core/platform/FileSystem.h"

#include <QFile>
#include <QList>

namespace IniFile {

namespace {

struct Line {
    qsizetype start;   // first byte of the line
    qsizetype end;     // one past the last byte before the line end
    qsizetype next;    // first byte of the following line
};

// A line ends at CR LF, at LF alone or at CR alone (files written with the
// old Macintosh line ends), or at the end of the content.
QList<Line> splitLines(const QByteArray &content)
{
    QList<Line> lines;
    qsizetype pos = 0;
    // A byte-order mark belongs to no line.
    if (content.startsWith("\xEF\xBB\xBF"))
        pos = 3;
    while (pos < content.size()) {
        qsizetype end = pos;
        while (end < content.size() && content.at(end) != '\n' && content.at(end) != '\r')
            ++end;
        qsizetype next = end;
        if (next < content.size()) {
            if (content.at(next) == '\r' && next + 1 < content.size() && content.at(next + 1) == '\n')
                next += 2;
            else
                ++next;
        }
        lines.append({pos, end, next});
        pos = next;
    }
    return lines;
}

QByteArray lineText(const QByteArray &content, const Line &line)
{
    return content.mid(line.start, line.end - line.start);
}

bool isSectionHeader(const QByteArray &text, QByteArray *name = nullptr)
{
    const QByteArray t = text.trimmed();
    if (!t.startsWith('['))
        return false;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return false;
    if (name)
        *name = t.mid(1, close - 1).trimmed();
    return true;
}

bool sameName(const QByteArray &a, const QString &b)
{
    return QString::fromLatin1(a).compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the section's header line and the index one past its last line;
// header = -1 when there is no such section.
struct SectionSpan {
    qsizetype header = -1;
    qsizetype end = -1;
};

SectionSpan findSection(const QByteArray &content, const QList<Line> &lines,
                        const QString &section)
{
    SectionSpan span;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray name;
        if (!isSectionHeader(lineText(content, lines[i]), &name))
            continue;
        if (span.header >= 0) {
            span.end = i;
            return span;
        }
        if (sameName(name, section))
            span.header = i;
    }
    if (span.header >= 0)
        span.end = lines.size();
    return span;
}

// The position of '=' in a key line of the given key, or -1.
qsizetype keyEquals(const QByteArray &text, const QString &key)
{
    const QByteArray t = text.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('#'))
        return -1;
    const qsizetype eq = text.indexOf('=');
    if (eq < 0 || !sameName(text.left(eq).trimmed(), key))
        return -1;
    return eq;
}

// The line end the file uses: that of its first line that has one, CR LF
// for a file without any.
QByteArray lineEnding(const QByteArray &content, const QList<Line> &lines)
{
    for (const Line &line : lines)
        if (line.next > line.end)
            return content.mid(line.end, line.next - line.end);
    return "\r\n";
}

} // namespace

QString valueIn(const QByteArray &content, const QString &section, const QString &key)
{
    const QList<Line> lines = splitLines(content);
    const SectionSpan span = findSection(content, lines, section);
    if (span.header < 0)
        return {};
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        const QByteArray text = lineText(content, lines[i]);
        const qsizetype eq = keyEquals(text, key);
        if (eq < 0)
            continue;
        QByteArray value = text.mid(eq + 1).trimmed();
        if (value.size() >= 2
            && ((value.startsWith('"') && value.endsWith('"'))
                || (value.startsWith('\'') && value.endsWith('\''))))
            value = value.mid(1, value.size() - 2);
        return QString::fromLatin1(value);
    }
    return {};
}

QByteArray withValue(const QByteArray &content, const QString &section, const QString &key,
                     const QString &value)
{
    const QByteArray newValue = value.toLatin1();
    const QList<Line> lines = splitLines(content);
    const SectionSpan span = findSection(content, lines, section);
    const QByteArray eol = lineEnding(content, lines);

    if (span.header < 0) {
        QByteArray result = content;
        if (!result.isEmpty() && !result.endsWith('\n') && !result.endsWith('\r'))
            result += eol;
        result += '[' + section.toLatin1() + ']' + eol + key.toLatin1() + '=' + newValue + eol;
        return result;
    }

    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        const qsizetype eq = keyEquals(lineText(content, lines[i]), key);
        if (eq < 0)
            continue;
        QByteArray result = content;
        const qsizetype from = lines[i].start + eq + 1;
        result.replace(from, lines[i].end - from, newValue);
        return result;
    }

    // No such key: add it after the last non-blank line of the section.
    qsizetype last = span.header;
    for (qsizetype i = span.header + 1; i < span.end; ++i)
        if (!lineText(content, lines[i]).trimmed().isEmpty())
            last = i;
    const Line &after = lines[last];
    QByteArray insertion = key.toLatin1() + '=' + newValue + eol;
    QByteArray result = content;
    if (after.next == after.end) // the last line of the file has no line end
        insertion.prepend(eol);
    result.insert(after.next, insertion);
    return result;
}

QString readValue(const QString &path, const QString &section, const QString &key)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw Error(Messages::fileNotRead(path).toStdString());
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(Messages::fileNotRead(path).toStdString());
    return valueIn(content, section, key);
}

void writeValue(const QString &path, const QString &section, const QString &key,
                const QString &value, bool ownerOnly)
{
    QByteArray content;
    QFile existing(path);
    if (existing.exists()) {
        if (platform::isReadOnly(path))
            throw Error(Messages::fileReadOnly(path).toStdString());
        if (!existing.open(QIODevice::ReadOnly))
            throw Error(Messages::fileNotRead(path).toStdString());
        content = existing.readAll();
        existing.close();
    }
    const QByteArray updated = withValue(content, section, key, value);
    // Replaced whole or not at all: on a full disk the old value stays.
    if (!platform::AtomicFile::writeAll(path, updated, ownerOnly))
        throw Error(Messages::fileNotWritten(path).toStdString());
}

} // namespace IniFile
