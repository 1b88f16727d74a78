#include "platform/Lote.h"

#include <QFile>

std::optional<QString> ArchivoDeLineaStart(const QByteArray& contenido)
{
    static const QByteArray orden = "start ";
    qsizetype fin = contenido.indexOf('\n');
    if (fin < 0)
        fin = contenido.size();
    QByteArray linea = contenido.left(fin);
    if (linea.endsWith('\r'))
        linea.chop(1);
    if (!linea.startsWith(orden) || linea.size() == orden.size())
        return std::nullopt;
    return QString::fromUtf8(linea.mid(orden.size()));
}

bool AbrirLote(const QString& rutaLote, const std::function<bool(const QString& archivo)>& abrir)
{
    QFile lote(rutaLote);
    if (!lote.open(QIODevice::ReadOnly))
        return false;
    // One short line is all a batch file of ours holds.
    const auto archivo = ArchivoDeLineaStart(lote.read(64 * 1024));
    return archivo && abrir(*archivo);
}
