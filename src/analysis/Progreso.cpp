#include "analysis/Progreso.h"

#include <cmath>

using namespace Qt::StringLiterals;

QString lineaProgreso(long hechos, long total, long usados, long inicial)
{
    const double porcentaje = std::trunc(double(hechos) / double(total) * 100.0);
    return QString::number(hechos) + u" de "_s + QString::number(total) + u" archivos de datos verificados - "_s
        + QString::number(usados) + u" de "_s + QString::number(inicial) + u" recursos utilizados - "_s
        + QString::number(static_cast<long long>(porcentaje)) + u"% del analisis completado"_s;
}
