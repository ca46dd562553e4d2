#include "components/TextFileWriter.h"

#include "components/AppError.h"

#include <QDir>

void TextFileWriter::Crear_Archivo()
{
    m_file.close();
    m_file.setFileName(m_path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw AppError(75,
                       QStringLiteral("No se pudo crear el archivo %1: %2")
                           .arg(QDir::toNativeSeparators(m_path), m_file.errorString()),
                       QStringLiteral("TextFileWriter"));
}

void TextFileWriter::Escribir(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    if (m_file.write(bytes) != bytes.size())
        throw AppError(75,
                       QStringLiteral("No se pudo escribir el archivo %1: %2")
                           .arg(QDir::toNativeSeparators(m_path), m_file.errorString()),
                       QStringLiteral("TextFileWriter"));
}

void TextFileWriter::Cerrar_Archivo()
{
    if (m_file.isOpen() && !m_file.flush())
        throw AppError(75,
                       QStringLiteral("No se pudo escribir el archivo %1: %2")
                           .arg(QDir::toNativeSeparators(m_path), m_file.errorString()),
                       QStringLiteral("TextFileWriter"));
    m_file.close();
}
