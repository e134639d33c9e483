#include "ui/platform/Platform.h"
#include "ui/platform/QtServices.h"

namespace platform {

namespace {
Services *installed = nullptr;
} // namespace

Services &services()
{
    static QtServices qtServices;
    return installed ? *installed : qtServices;
}

void setServices(Services *replacement) { installed = replacement; }

void information(QWidget *parent, const QString &text)
{
    services().message(parent, MessageKind::Information, text, {Button::Ok, Button::Cancel});
}

void warning(QWidget *parent, const QString &text)
{
    services().message(parent, MessageKind::Warning, text, {Button::Ok, Button::Cancel});
}

void error(QWidget *parent, const QString &text)
{
    services().message(parent, MessageKind::Error, text, {Button::Ok, Button::Cancel});
}

bool confirm(QWidget *parent, const QString &text)
{
    return services().message(parent, MessageKind::Confirmation, text, {Button::Yes, Button::No})
        == Button::Yes;
}

void showMessage(QWidget *parent, const QString &text)
{
    services().message(parent, MessageKind::Plain, text, {Button::Ok});
}

QString buttonText(Button button)
{
    switch (button) {
    case Button::Ok: return QStringLiteral("OK");
    case Button::Cancel: return QStringLiteral("Cancel");
    case Button::Yes: return QStringLiteral("Yes");
    case Button::No: return QStringLiteral("No");
    }
    return {};
}

} // namespace platform
