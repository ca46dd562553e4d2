// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;
class Settings;

/** Window layout in twips (1/1440 inch) and the windows' font. */
namespace WindowGeometry {

/** Twips to pixels at the 96 dots per inch of the logical screen (15 twips a pixel). */
int twips(int value);
/** A control's place in twips: left, top, width, height. */
QRect twips(int left, int top, int width, int height);
/** Names a control of a window. */
template <typename Control> Control* named(Control* control, const char* name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}
/** Names a control of a window and puts it at its place (twips() of the window's layout). */
template <typename Control> Control* place(Control* control, const char* name, const QRect& at)
{
    named(control, name)->setGeometry(at);
    return control;
}
/** Tahoma 8.25 pt (the platform's closest face where it is missing). */
QFont windowFont(bool bold = false);
/** Fixed border, title and close box, no minimize or maximize, inner size in twips. */
void makeFixedDialog(QWidget* window, int width, int height);
/**
 * Fixed border, title and close box, no minimize or maximize, sized for its layout's content
 * and its caption. Called once the window's controls are laid out and filled.
 */
void makeFixedDialog(QWidget* window);
/**
 * Title and close box, resizable from the size its layout's content and its caption need,
 * which is also its least size. Called once the window's controls are laid out and filled.
 */
void makeResizableDialog(QWidget* window);
/**
 * Keeps the window's size and place in the settings under its objectName: gives it those kept
 * when it was last closed (true when there were some; else the caller places it), and keeps
 * them each time it hides.
 */
bool rememberGeometry(QWidget* window, Settings& settings);
/** Centres the window on its owner, or on the owner's screen when it has none. */
void centreOn(QWidget* window, const QWidget* owner);

} // namespace WindowGeometry
