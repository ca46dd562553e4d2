#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

/** Window layout in twips (1/1440 inch) and the windows' font. */
namespace WindowGeometry {

/** Twips to pixels at the 96 dots per inch of the logical screen (15 twips a pixel). */
int twips(int value);
/** A control's place in twips: left, top, width, height. */
QRect twips(int left, int top, int width, int height);
/** Names a control of a window and puts it at its place (twips() of the window's layout). */
template <typename Control> Control* place(Control* control, const char* name, const QRect& at)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(at);
    return control;
}
/** Tahoma 8.25 pt (the platform's closest face where it is missing). */
QFont windowFont(bool bold = false);
/** Fixed border, title and close box, no minimize or maximize, inner size in twips. */
void makeFixedDialog(QWidget* window, int width, int height);
/**
 * Title and close box, resizable from its starting size up (inner size in twips), which is
 * also its least size.
 */
void makeResizableDialog(QWidget* window, int width, int height);
/** Centres the window on its owner, or on the owner's screen when it has none. */
void centreOn(QWidget* window, const QWidget* owner);

} // namespace WindowGeometry
