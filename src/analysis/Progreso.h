// The status line shown while the data files are searched.
#pragma once

#include <QString>

// e.g. "1 de 3 archivos de datos verificados - 0 de 12 recursos utilizados -
// 33% del analisis completado". The percentage is done/total*100 in double
// precision, truncated, never rounded.
QString lineaProgreso(long hechos, long total, long usados, long inicial);
