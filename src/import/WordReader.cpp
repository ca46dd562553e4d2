// SPDX-License-Identifier: Apache-2.0
// libgsf before any Qt header: glib's headers use `signals` as a field name.
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>

#include "import/WordFormats.h"
#include "import/WordReader.h"

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

void initialise()
{
    gsf_init();
    for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:zip"})
        g_log_set_handler(domain, GLogLevelFlags(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL), toLibraryLog,
                          nullptr);
}

} // namespace

namespace WordReader {
namespace detail {

void releaseObject(void* object)
{
    if (object)
        g_object_unref(object);
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
    const int count = gsf_infile_num_children(dir);
    for (int i = 0; i < count; ++i) {
        const char* childName = gsf_infile_name_by_index(dir, i);
        if (childName && QString::fromUtf8(childName).compare(name, Qt::CaseInsensitive) == 0)
            return gsf_infile_child_by_index(dir, i);
    }
    return nullptr;
}

QString readDocument(GsfInput* input)
{
    static constexpr unsigned char kOle2[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    static constexpr unsigned char kZip[4] = {'P', 'K', 0x03, 0x04};
    static constexpr unsigned char kPdf[5] = {'%', 'P', 'D', 'F', '-'};

    unsigned char head[8] = {};
    if (gsf_input_size(input) < gsf_off_t(sizeof head) ||
        !gsf_input_read(input, sizeof head, head) || gsf_input_seek(input, 0, G_SEEK_SET))
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
    static const bool initialised = (initialise(), true);
    Q_UNUSED(initialised);

    if (!QFileInfo(path).isFile()) // missing, a folder or a device
        detail::refuse(CannotOpen, QString());
    GError* error = nullptr;
    detail::ObjectRef<GsfInput> input(
        gsf_input_stdio_new(QFile::encodeName(path).constData(), &error));
    if (!input) {
        const QString reason = error ? QString::fromUtf8(error->message) : QString();
        g_clear_error(&error);
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
