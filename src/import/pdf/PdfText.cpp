// SPDX-License-Identifier: Apache-2.0
// The glyphs of a PDF's text layer through Poppler, handed over a page at a time; the reader
// rebuilds the lines from them.
#include "PdfText.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-page.h>

#include <memory>
#include <mutex>
#include <vector>

namespace {

void (*complaints)(const char*) = nullptr;

void toComplaints(const std::string& message, void*)
{
    if (complaints)
        complaints(message.c_str());
}

} // namespace

extern "C" __attribute__((visibility("default"))) int
aduplan_pdf_read(const char* data, int size, const AduplanPdfReader* reader, int* failedPage)
{
    // What Poppler finds odd in a file it would write on standard error.
    static std::once_flag silenced;
    std::call_once(silenced, [reader] {
        complaints = reader->complaint;
        poppler::set_debug_error_function(toComplaints, nullptr);
    });

    const std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(data, size));
    if (!document)
        return ADUPLAN_PDF_DAMAGED;
    // Locked: it needs a user password. A file with only an owner password opens without one;
    // its restrictions (copying, printing, changes) bind viewers, and its text is read.
    if (document->is_locked())
        return ADUPLAN_PDF_LOCKED;

    std::vector<AduplanPdfGlyph> glyphs;
    for (int i = 0; i < document->pages(); ++i) {
        const std::unique_ptr<poppler::page> page(document->create_page(i));
        if (!page) {
            *failedPage = i;
            return ADUPLAN_PDF_PAGE_DAMAGED;
        }
        glyphs.clear();
        for (const poppler::text_box& box : page->text_list()) {
            const poppler::ustring text = box.text();
            for (std::size_t c = 0; c < text.size(); ++c) {
                const poppler::rectf r = box.char_bbox(c);
                glyphs.push_back({r.x(), r.bottom(), r.width(), text[c], uint16_t(c == 0)});
            }
        }
        if (reader->page(reader->context, glyphs.data(), glyphs.size()))
            return ADUPLAN_PDF_STOPPED;
    }
    return ADUPLAN_PDF_READ;
}
