/* SPDX-License-Identifier: Apache-2.0 */
#pragma once

/*
 * The PDF reader's module, a shared object of its own (libaduplan-pdf.so) so that the PDF
 * library loads only when a PDF is read. Its one entry point has a plain C interface.
 */

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/** A glyph of a page's text layer, in points from the page's top left corner. */
typedef struct AduplanPdfGlyph {
    double x;      /* left edge */
    double bottom; /* bottom edge */
    double width;
    uint16_t code;       /* UTF-16 code unit */
    uint16_t startsWord; /* nonzero on the first glyph of each of the page's words */
} AduplanPdfGlyph;

/** What aduplan_pdf_read() returns. */
enum AduplanPdfResult {
    ADUPLAN_PDF_READ = 0,         /* every page was handed over */
    ADUPLAN_PDF_DAMAGED = 1,      /* the file does not open */
    ADUPLAN_PDF_LOCKED = 2,       /* the file needs a user password */
    ADUPLAN_PDF_PAGE_DAMAGED = 3, /* a page does not open: its number, from 0, in *failedPage */
    ADUPLAN_PDF_STOPPED = 4       /* the page function asked to stop */
};

typedef struct AduplanPdfReader {
    void* context;
    /* Takes each page in turn: its glyphs, word by word in the library's order. Nonzero stops. */
    int (*page)(void* context, const AduplanPdfGlyph* glyphs, size_t count);
    /* Takes what the library finds odd in a file, in English; the first reader's is kept. */
    void (*complaint)(const char* message);
} AduplanPdfReader;

/** Reads the text layer of the PDF file held in data[0, size). */
int aduplan_pdf_read(const char* data, int size, const AduplanPdfReader* reader, int* failedPage);

#ifdef __cplusplus
}
#endif
