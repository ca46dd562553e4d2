// SPDX-License-Identifier: Apache-2.0
// Feeds arbitrary bytes to the invoice document reader (Word, OpenDocument text, PDF): it must
// refuse or read, never crash, hang or allocate without bound. libgsf before any Qt header
// (glib's `signals`).
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-utils.h>

#include "import/WordFormats.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool initialised = [] {
        gsf_init();
        // libgsf reports damaged containers on the log as well; keep the run's output readable.
        g_log_set_default_handler([](const gchar*, GLogLevelFlags, const gchar*, gpointer) {},
                                  nullptr);
        g_set_printerr_handler([](const gchar*) {});
        return true;
    }();
    Q_UNUSED(initialised);
    WordReader::detail::ObjectRef<GsfInput> input(
        gsf_input_memory_new(data, gsf_off_t(size), FALSE));
    if (!input)
        return 0;
    try {
        WordReader::detail::readDocument(input.get());
    } catch (const AppError&) {
        // a refusal is a fine outcome
    }
    return 0;
}
