// SPDX-License-Identifier: Apache-2.0
#include "controls/WindowGeometry.h"

#include "workspace/Settings.h"

#include <QEvent>
#include <QFontMetrics>
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

namespace {

void setFixedFlags(QWidget* window)
{
    window->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

/** The size the window's content needs, widened so that its caption shows whole beside the
 *  title bar's icon and buttons (in the title bar's larger, bold face). */
QSize contentSize(QWidget* window)
{
    QFont title = window->font();
    title.setBold(true);
    if (title.pointSizeF() > 0)
        title.setPointSizeF(title.pointSizeF() * 1.25);
    constexpr int IconAndButtons = 150;
    const int caption = QFontMetrics(title).horizontalAdvance(window->windowTitle());
    return window->sizeHint().expandedTo(QSize(caption + IconAndButtons, 0));
}

/** Keeps a window's geometry in the settings whenever it hides. */
class GeometryKeeper : public QObject {
public:
    GeometryKeeper(QWidget* window, Settings& settings)
        : QObject(window)
        , m_settings(settings)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && watched == parent())
            m_settings.saveWindowGeometry(watched->objectName(),
                                          static_cast<QWidget*>(watched)->saveGeometry());
        return false;
    }

private:
    Settings& m_settings;
};

} // namespace

void makeFixedDialog(QWidget* window, int width, int height)
{
    setFixedFlags(window);
    window->setFixedSize(twips(width), twips(height));
    window->setFont(windowFont());
}

void makeFixedDialog(QWidget* window)
{
    setFixedFlags(window);
    window->setFixedSize(contentSize(window));
}

void makeResizableDialog(QWidget* window)
{
    window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    window->resize(contentSize(window));
    window->setMinimumSize(window->size());
}

bool rememberGeometry(QWidget* window, Settings& settings)
{
    new GeometryKeeper(window, settings);
    const QByteArray kept = settings.windowGeometry(window->objectName());
    return !kept.isEmpty() && window->restoreGeometry(kept);
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
