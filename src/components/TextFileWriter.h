#pragma once

#include <QFile>
#include <QString>

/** Writes a text file (UTF-8): set the path, create, write texts unchanged, close. */
class TextFileWriter {
public:
    void Ubicacion_Archivo(const QString& path) { m_path = path; }
    const QString& Ubicacion_Archivo() const { return m_path; }
    /** Creates the file, empty; raises when it cannot be written. */
    void Crear_Archivo();
    void Escribir(const QString& text);
    void Cerrar_Archivo();

private:
    QString m_path;
    QFile m_file;
};
