#include "data/WorkDatabase.h"

#include "components/AppError.h"
#include "components/DataSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace WorkDatabase {

QString path(const QString& home)
{
    return QDir(home).filePath(QStringLiteral("db/planimport.db"));
}

const QStringList& articleColumns()
{
    static const QStringList columns = {
        QStringLiteral("INTNRO"), QStringLiteral("ARTORD"), QStringLiteral("ARTNRO"),
        QStringLiteral("ARTDSC"), QStringLiteral("ARTCAN"), QStringLiteral("ARTUNI"),
        QStringLiteral("ARTTOT"), QStringLiteral("ARTORG"), QStringLiteral("PRCDUN"),
        QStringLiteral("PRCNCM"), QStringLiteral("PRCLAP"), QStringLiteral("PRCSUF"),
        QStringLiteral("PRCEUN"), QStringLiteral("PRCECA"), QStringLiteral("PRCSUN"),
        QStringLiteral("PRCSCA"), QStringLiteral("PRCESM"), QStringLiteral("PRCORI"),
        QStringLiteral("PRCEST"), QStringLiteral("PRCCRC")};
    return columns;
}

bool create(const QString& home)
{
    const QString file = path(home);
    if (QFileInfo::exists(file))
        return false;
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        throw AppError(75, QStringLiteral("No se pudo crear la carpeta %1.")
                               .arg(QDir::toNativeSeparators(QFileInfo(file).absolutePath())));
    {
        QFile touch(file);
        if (!touch.open(QIODevice::WriteOnly))
            throw AppError(75, QStringLiteral("No se pudo crear %1: %2")
                                   .arg(QDir::toNativeSeparators(file), touch.errorString()));
    }
    try {
        DataSession work;
        work.CadenaConexion(DataSession::sqliteConnection(file));
        work.Conectar();
        TransactionGuard tx(work);
        const QStringList statements = {
            QStringLiteral("create table INTN (INTNRO text not null primary key, INTDSC text)"),
            QStringLiteral(
                "create table ART (INTNRO text not null, ARTORD integer not null, ARTNRO text, "
                "ARTDSC text, ARTCAN real, ARTUNI real, ARTTOT real, ARTORG text, PRCDUN text, "
                "PRCNCM text, PRCLAP text, PRCSUF text, PRCEUN text, PRCECA real, PRCSUN text, "
                "PRCSCA real, PRCESM text, PRCORI text, PRCEST text, PRCCRC text)"),
            QStringLiteral("create unique index ART_INTNRO_ARTORD on ART (INTNRO, ARTORD)"),
            QStringLiteral("create index ART_INTNRO_ARTNRO on ART (INTNRO, ARTNRO)"),
            QStringLiteral("create table ORG (PAI text, ORI text)"),
            QStringLiteral("create index ORG_PAI on ORG (PAI)"),
            QStringLiteral("create table PAIS (id text not null primary key, descripcion text)"),
        };
        for (const QString& statement : statements) {
            work.Sql(statement);
            work.ejecutar();
        }
        tx.commit();
    } catch (...) {
        QFile::remove(file);
        throw;
    }
    return true;
}

} // namespace WorkDatabase
