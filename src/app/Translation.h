// SPDX-License-Identifier: Apache-2.0
#pragma once

/**
 * Installs Qt's own Spanish texts (standard buttons, the file dialog) in the application;
 * false when they are not installed on this machine.
 */
bool installSpanishTranslation();
