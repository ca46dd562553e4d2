// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <functional>
#include <string_view>

/**
 * Named points in the middle of long operations where a test can step in: to make the
 * operation fail there, or to change what another user could change at that moment. Outside
 * tests no hook is set and reaching a point does nothing.
 */
namespace TestSeam {

using Hook = std::function<void(std::string_view point)>;

/** Sets the hook that every point reached calls (an empty hook removes it). */
void setHook(Hook hook);
/** Calls the hook, if any, with the point's name; the hook may raise. */
void reach(std::string_view point);

} // namespace TestSeam
