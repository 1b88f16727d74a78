#include <QTest>
class Prueba : public QObject { Q_OBJECT private slots: void nada() {} };
QTEST_MAIN(Prueba)
#include "tst_acciones.moc"
