// SPDX-License-Identifier: Apache-2.0
#pragma once

class QAbstractButton;

/** The keys of the windows' buttons. */
namespace ButtonKeys {

/**
 * Enter on the button, while it has the focus, presses it as Space does. A push button never
 * becomes a window's default: an Enter meant for another control (a list, a text box) never
 * presses it.
 */
void enterPresses(QAbstractButton* button);

} // namespace ButtonKeys
