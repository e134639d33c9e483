#include "core/transfer/Transfer.h"

namespace Transfer {

QString heading(const FieldDef &field)
{
    if (field.role == FieldRole::Attachment) {
        const QString name = field.fieldName();
        const QString number = QString::number(name.right(2).toInt());
        return name.startsWith(QLatin1String("File")) ? QStringLiteral("Allegato ") + number
                                                       : QStringLiteral("Descrizione allegato ") + number;
    }
    QString caption = field.captionText();
    if (caption.endsWith(QStringLiteral("€")))
        caption.chop(1);
    caption = caption.trimmed();
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption.trimmed();
}

QString matchKey(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.isLetterOrNumber())
            key += c.toLower();
    }
    return key;
}

int fieldForHeading(const RecordLayout &layout, const QString &text)
{
    const QString key = matchKey(text);
    if (key.isEmpty())
        return -1;
    for (qsizetype i = 0; i < qsizetype(layout.fields.size()); ++i) {
        const FieldDef &f = layout.fields[i];
        if (key == matchKey(heading(f)) || key == matchKey(f.fieldName()))
            return int(i);
    }
    return -1;
}

} // namespace Transfer
