#include "controls/WindowGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace WindowGeometry {

int twips(int value)
{
    return (value + 7) / 15;
}

QRect twips(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

QFont windowFont(bool bold)
{
    // Liberation Sans is close to Tahoma's width where Tahoma is not installed.
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

void makeFixedDialog(QWidget* window, int width, int height)
{
    window->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    window->setFixedSize(twips(width), twips(height));
    window->setFont(windowFont());
}

void makeResizableDialog(QWidget* window, int width, int height)
{
    window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    window->resize(twips(width), twips(height));
    window->setMinimumSize(window->size());
    window->setFont(windowFont());
}

void centreOn(QWidget* window, const QWidget* owner)
{
    QRect area;
    if (owner)
        area = owner->window()->frameGeometry();
    else if (const QScreen* screen =
                 window->screen() ? window->screen() : QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (!area.isValid())
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
}

} // namespace WindowGeometry
