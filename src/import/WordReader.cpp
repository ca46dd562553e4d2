// SPDX-License-Identifier: Apache-2.0
// libgsf before any Qt header: glib's headers use `signals` as a field name.
#include "import/GsfLibrary.h"

#include "import/WordFormats.h"
#include "import/WordReader.h"

#include "components/SharedLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cstring>

namespace {

// What libgsf finds odd in a document it reports through glib's log, in English, on standard
// error; the reader's own refusal tells the operator. Those lines go to this category, quiet
// unless enabled (QT_LOGGING_RULES="aduplan.word.debug=true").
Q_LOGGING_CATEGORY(libraryLog, "aduplan.word", QtInfoMsg)

void toLibraryLog(const gchar* domain, GLogLevelFlags, const gchar* message, gpointer)
{
    qCDebug(libraryLog, "%s: %s", domain, message);
}

} // namespace

namespace WordReader {
namespace detail {

const Gsf& gsf()
{
    static const Gsf functions = [] {
        SharedLibrary library(QStringLiteral("gsf-1"), 114,
                              QStringLiteral("de lectura de documentos"));
        Gsf found;
        library.take(found.init, "gsf_init");
        library.take(found.inputStdioNew, "gsf_input_stdio_new");
        library.take(found.inputSize, "gsf_input_size");
        library.take(found.inputRemaining, "gsf_input_remaining");
        library.take(found.inputRead, "gsf_input_read");
        library.take(found.inputSeek, "gsf_input_seek");
        library.take(found.infileType, "gsf_infile_get_type");
        library.take(found.infileNumChildren, "gsf_infile_num_children");
        library.take(found.infileNameByIndex, "gsf_infile_name_by_index");
        library.take(found.infileChildByIndex, "gsf_infile_child_by_index");
        library.take(found.infileMsoleNew, "gsf_infile_msole_new");
        library.take(found.infileZipNew, "gsf_infile_zip_new");
        library.take(found.logSetHandler, "g_log_set_handler");
        library.take(found.clearError, "g_clear_error");
        library.take(found.objectUnref, "g_object_unref");
        library.take(found.typeCheckInstanceIsA, "g_type_check_instance_is_a");
        found.init();
        for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:zip"})
            found.logSetHandler(domain, GLogLevelFlags(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL),
                                toLibraryLog, nullptr);
        return found;
    }();
    return functions;
}

GsfInfile* asInfile(GsfInput* input)
{
    const Gsf& lib = gsf();
    return lib.typeCheckInstanceIsA(reinterpret_cast<GTypeInstance*>(input), lib.infileType())
               ? reinterpret_cast<GsfInfile*>(input)
               : nullptr;
}

bool isFolder(GsfInput* input)
{
    GsfInfile* dir = asInfile(input);
    return dir && gsf().infileNumChildren(dir) >= 0;
}

void releaseObject(void* object)
{
    if (object)
        gsf().objectUnref(object);
}

void refuse(ReadError kind, const QString& reason)
{
    QString text;
    switch (kind) {
    case CannotOpen:
        text = QStringLiteral("No se puede abrir el archivo.");
        break;
    case NotWordDocument:
        text = QStringLiteral("El archivo no es un documento de Word (.doc o .docx), un PDF ni "
                              "un documento de texto OpenDocument (.odt).");
        break;
    case OldWordVersion:
        text = QStringLiteral(
            "El documento está guardado con Word 6.0/95 o una versión anterior, que no se "
            "puede leer. Ábralo en Word y guárdelo como documento de Word 97-2003 o posterior.");
        break;
    case Encrypted:
        text = QStringLiteral("El documento está protegido con contraseña (cifrado) y no se "
                              "puede leer. Guárdelo sin contraseña y vuelva a intentarlo.");
        break;
    case RightsManaged:
        text = QStringLiteral(
            "El documento tiene permisos restringidos (gestión de derechos) y no se puede leer. "
            "Guarde una copia sin restricciones y vuelva a intentarlo.");
        break;
    case Damaged:
        text = QStringLiteral("El documento está dañado o incompleto y no se puede leer.");
        break;
    case TooLarge:
        text = QStringLiteral("El documento es demasiado grande para ser una factura (su texto "
                              "pasa de %1 MiB) y no se lee. Revise que sea el archivo correcto.")
                   .arg(kMaxDocumentSize >> 20);
        break;
    case TooDeep:
        text = QStringLiteral("El documento tiene elementos anidados a más de %1 niveles, lo que "
                              "ningún documento de Word tiene, y no se lee. Revise que sea el "
                              "archivo correcto.")
                   .arg(kMaxDepth);
        break;
    case NoTextLayer:
        text = QStringLiteral(
            "El PDF no tiene texto: es una imagen (por ejemplo, un documento escaneado) y no se "
            "puede leer. Pida al proveedor la factura en Word o en un PDF generado con texto.");
        break;
    }
    throw AppError(kind, text, reason);
}

GsfInput* childNamed(GsfInfile* dir, QStringView name)
{
    const Gsf& lib = gsf();
    const int count = lib.infileNumChildren(dir);
    for (int i = 0; i < count; ++i) {
        const char* childName = lib.infileNameByIndex(dir, i);
        if (childName && QString::fromUtf8(childName).compare(name, Qt::CaseInsensitive) == 0)
            return lib.infileChildByIndex(dir, i);
    }
    return nullptr;
}

QString readDocument(GsfInput* input)
{
    static constexpr unsigned char kOle2[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    static constexpr unsigned char kZip[4] = {'P', 'K', 0x03, 0x04};
    static constexpr unsigned char kPdf[5] = {'%', 'P', 'D', 'F', '-'};

    const Gsf& lib = gsf();
    unsigned char head[8] = {};
    if (lib.inputSize(input) < gsf_off_t(sizeof head) || !lib.inputRead(input, sizeof head, head) ||
        lib.inputSeek(input, 0, G_SEEK_SET))
        refuse(NotWordDocument, QStringLiteral("archivo de menos de 8 bytes"));
    if (std::memcmp(head, kOle2, sizeof kOle2) == 0)
        return readBinaryDocument(input);
    if (std::memcmp(head, kZip, sizeof kZip) == 0)
        return readOpenXmlDocument(input);
    if (std::memcmp(head, kPdf, sizeof kPdf) == 0)
        return readPdfDocument(input);
    refuse(NotWordDocument, QStringLiteral("firma desconocida"));
}

} // namespace detail

QString bodyText(const QString& path)
{
    if (!QFileInfo(path).isFile()) // missing, a folder or a device
        detail::refuse(CannotOpen, QString());
    const detail::Gsf& lib = detail::gsf();
    GError* error = nullptr;
    detail::ObjectRef<GsfInput> input(
        lib.inputStdioNew(QFile::encodeName(path).constData(), &error));
    if (!input) {
        const QString reason = error ? QString::fromUtf8(error->message) : QString();
        lib.clearError(&error);
        detail::refuse(CannotOpen, reason);
    }
    return detail::readDocument(input.get());
}

} // namespace WordReader

QString LeerDocumento(const QString& path)
{
    QString text = WordReader::bodyText(path);
    if (text.endsWith(QLatin1Char('\r')))
        text.chop(1); // the final paragraph mark, dropped in place
    return text;
}
