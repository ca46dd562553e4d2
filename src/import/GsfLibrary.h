// SPDX-License-Identifier: Apache-2.0
#pragma once

// Internal to the Word reader: the document container library's functions. Its headers give
// their types only; the library is opened on the first document read, so that no run that
// reads none loads it (with glib and gobject, which it brings).
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile-zip.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>

namespace WordReader::detail {

/**
 * libgsf's functions the reader calls, and glib's and gobject's, taken from libgsf, which
 * loads them. glib's object macros (GSF_INFILE, GSF_IS_INFILE) would call those libraries
 * directly: the reader uses asInfile() instead.
 */
struct Gsf {
    decltype(&gsf_init) init = nullptr;
    decltype(&gsf_input_stdio_new) inputStdioNew = nullptr;
    decltype(&gsf_input_size) inputSize = nullptr;
    decltype(&gsf_input_remaining) inputRemaining = nullptr;
    decltype(&gsf_input_read) inputRead = nullptr;
    decltype(&gsf_input_seek) inputSeek = nullptr;
    decltype(&gsf_infile_get_type) infileType = nullptr;
    decltype(&gsf_infile_num_children) infileNumChildren = nullptr;
    decltype(&gsf_infile_name_by_index) infileNameByIndex = nullptr;
    decltype(&gsf_infile_child_by_index) infileChildByIndex = nullptr;
    decltype(&gsf_infile_msole_new) infileMsoleNew = nullptr;
    decltype(&gsf_infile_zip_new) infileZipNew = nullptr;
    decltype(&g_log_set_handler) logSetHandler = nullptr;
    decltype(&g_clear_error) clearError = nullptr;
    decltype(&g_object_unref) objectUnref = nullptr;
    decltype(&g_type_check_instance_is_a) typeCheckInstanceIsA = nullptr;
};

/** The functions, taken once; raises an AppError naming the library when it is unusable. */
const Gsf& gsf();

/** `input` as a container's entry that can hold others (an OLE2 stream too), or null. */
GsfInfile* asInfile(GsfInput* input);
/** Whether `input` is a folder of its container (a zip folder, an OLE2 storage), not a file. */
bool isFolder(GsfInput* input);

} // namespace WordReader::detail
