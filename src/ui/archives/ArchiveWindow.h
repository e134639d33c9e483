#pragma once
#include "ui/base/MainLevelWindow.h"

class Picture;

// What the two archive windows share: the white sheet, the header picture
// and the help icon.
class ArchiveWindow : public MainLevelWindow {
    Q_OBJECT
public:
    ArchiveWindow(const QString &objectName, const QString &caption, const QString &header,
                  QWidget *parent);

    Picture *imgGuida;

protected:
    Picture *imageButton(const QString &objectName, const QString &resource, const QRect &geometry,
                         const QString &hint);
};
