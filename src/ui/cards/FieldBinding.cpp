#include "ui/cards/FieldBinding.h"

#include "core/editing/Money.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <stdexcept>

namespace {

class TextBinding : public FieldBinding {
public:
    explicit TextBinding(QLineEdit *edit) : edit_(edit) {}
    void clear() override { edit_->clear(); }
    void show(const QString &stored) override { edit_->setText(stored); }
    QString value() const override { return edit_->text(); }

protected:
    QLineEdit *edit_;
};

// A new card's amount reads "0,00".
class MoneyBinding : public TextBinding {
public:
    using TextBinding::TextBinding;
    void clear() override { edit_->setText(Money::zero()); }
};

// "Sì" ticks the box and "No" clears it; any other stored text leaves the box
// as it was.
class ForSaleBinding : public FieldBinding {
public:
    explicit ForSaleBinding(QCheckBox *box) : box_(box) {}
    void clear() override { box_->setChecked(false); }
    void show(const QString &stored) override
    {
        if (stored == yesText())
            box_->setChecked(true);
        else if (stored == noText())
            box_->setChecked(false);
    }
    QString value() const override { return box_->isChecked() ? yesText() : noText(); }

private:
    QCheckBox *box_;
};

class AttachmentBinding : public FieldBinding {
public:
    explicit AttachmentBinding(QLabel *label) : label_(label) {}
    void clear() override { label_->clear(); }
    void show(const QString &stored) override { label_->setText(stored); }
    QString value() const override { return label_->text(); }

private:
    QLabel *label_;
};

template <typename Control>
Control *as(const FieldDef &def, QWidget *control)
{
    auto *c = qobject_cast<Control *>(control);
    if (!c)
        throw std::logic_error("field " + std::string(def.name) + " has no control of its kind");
    return c;
}

} // namespace

std::unique_ptr<FieldBinding> FieldBinding::make(const FieldDef &def, QWidget *control)
{
    switch (def.role) {
    case FieldRole::Text: return std::make_unique<TextBinding>(as<QLineEdit>(def, control));
    case FieldRole::Money: return std::make_unique<MoneyBinding>(as<QLineEdit>(def, control));
    case FieldRole::ForSale: return std::make_unique<ForSaleBinding>(as<QCheckBox>(def, control));
    case FieldRole::Attachment:
        return std::make_unique<AttachmentBinding>(as<QLabel>(def, control));
    }
    throw std::logic_error("field " + std::string(def.name) + " has an unknown role");
}
