#include "window/Principal.h"

#include "analysis/Progreso.h"
#include "analysis/Rutas.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"
#include "window/Controles.h"
#include "window/Disposicion.h"

#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {
// Shrinks a label's font until its whole text fits its rectangle.
void AjustarAlRectangulo(QLabel& etiqueta)
{
    // Faces differ from one system to the next: shrink the text, if need be,
    // until every line shows within the label's height.
    const QString texto = etiqueta.text();
    QFont fuente = etiqueta.font();
    for (double puntos = fuente.pointSizeF(); puntos >= 6; puntos -= 0.25) {
        fuente.setPointSizeF(puntos);
        const QRect necesario = QFontMetrics(fuente).boundingRect(QRect(0, 0, etiqueta.width(), 100000),
                                                                  int(etiqueta.alignment()) | Qt::TextWordWrap, texto);
        if (necesario.height() <= etiqueta.height())
            break;
    }
    etiqueta.setFont(fuente);
}

// The widest line the analysis can write in `fuente`: the analysis complete,
// and every count at five digits, each the face's widest digit.
QString LineaMasAncha(const QFont& fuente)
{
    const QFontMetricsF medida(fuente);
    QChar ancha = u'9';
    for (char16_t cifra = u'0'; cifra <= u'9'; ++cifra)
        if (medida.horizontalAdvance(QChar(cifra)) > medida.horizontalAdvance(ancha))
            ancha = QChar(cifra);
    return LineaProgreso(99999, 99999, 99999, 99999).replace(u'9', ancha);
}
}  // namespace

const QString Principal::kDireccionWeb = u"https://mondrix.example.org"_s;

// Four pieces, one text: what the list holds and what the user must take off it.
const QString Principal::kExplicacion =
    u"Estos son los recursos que ni la Base de Datos ni ninguno de los mapas de"_s
    u" su juego utiliza. Sin enbargo este programa no puede leer los Scripts de su juego, por estar estos"_s
    u" codificados. Debe pues, excluir de la lista los recursos utilizados por los scripts personalizados que"_s
    u" usted utiliza en su juego. Excluya también aquellos recursos que no desea que sean eliminados de forma permanente."_s;

Principal::Principal(Plataforma& plataforma, QWidget* padre) : QWidget(padre), plataforma_(plataforma)
{
    CrearControles();
    AplicarDisposicion();

    connect(Abrir, &BotonEtiqueta::clicked, this, &Principal::Abrir_Click);
    connect(Analizando, &CajaEstado::clicked, this, &Principal::Analizando_Click);
    connect(Borrar, &BotonEtiqueta::clicked, this, &Principal::Borrar_Click);
    connect(Ejecutar, &BotonEtiqueta::clicked, this, &Principal::Ejecutar_Click);
    connect(Espacio, &BotonEtiqueta::clicked, this, &Principal::Espacio_Click);
    connect(Quitar, &BotonEtiqueta::clicked, this, &Principal::Quitar_Click);
    connect(Recursos, &QListWidget::itemDoubleClicked, this, &Principal::Recursos_DblClick);

    Form_Load();
}

Principal::~Principal() = default;

void Principal::CrearControles()
{
    Temporal = new CargadorDatos(this);
    Dialogos = new DialogoAbrir(this);
    Dialogos->DefaultExt = u"rxproj"_s;
    Dialogos->Filter = u"Proyecto del Rpg Maker Xp (*.rxproj)"_s;
    Abierto = new QLineEdit(this);
    Abierto->hide();
    Analizando = new CajaEstado(this);
    Analizando->setText(kDireccionWeb);
    Recursos = new QListWidget(this);
    Recursos->setSelectionMode(QAbstractItemView::SingleSelection);
    Recursos->setUniformItemSizes(true);
    Shape5 = new Contorno(this);
    Espacio = new BotonEtiqueta(u"Ver espacio ahorrado"_s, this);
    Shape4 = new Contorno(this);
    Quitar = new BotonEtiqueta(u"Quitar de la lista"_s, this);
    Shape3 = new Contorno(this);
    Ejecutar = new BotonEtiqueta(u"Abrir Archivo"_s, this);
    Shape2 = new Contorno(this);
    Borrar = new BotonEtiqueta(u"Borrar Recursos"_s, this);
    Shape1 = new Contorno(this);
    Abrir = new BotonEtiqueta(u"Abrir"_s, this);
    Texto4 = new QLabel(
        u"Se recomienda realizar una copia de seguridad de su proyecto antes de proceder con el borrado."_s, this);
    TextoA = new QLabel(this);
    Label1 = new QLabel(u"Paso 3: Confirme la eliminación de los recursos de la lista:"_s, this);
    Texto3 = new QLabel(this);
    Texto3->hide();
    Texto2 = new QLabel(u"Paso 2: Revisa la lista de recursos no utilizados:"_s, this);
    Texto1 = new QLabel(u"Paso 1: Elige tu proyecto del Rpg Maker Xp:"_s, this);

    const std::pair<QObject*, const char*> nombres[] = {
        {  Temporal,   "Temporal"},
        {  Dialogos,   "Dialogos"},
        {   Abierto,    "Abierto"},
        {Analizando, "Analizando"},
        {  Recursos,   "Recursos"},
        {    Shape5,     "Shape5"},
        {   Espacio,    "Espacio"},
        {    Shape4,     "Shape4"},
        {    Quitar,     "Quitar"},
        {    Shape3,     "Shape3"},
        {  Ejecutar,   "Ejecutar"},
        {    Shape2,     "Shape2"},
        {    Borrar,     "Borrar"},
        {    Shape1,     "Shape1"},
        {     Abrir,      "Abrir"},
        {    Texto4,     "Texto4"},
        {    TextoA,     "TextoA"},
        {    Label1,     "Label1"},
        {    Texto3,     "Texto3"},
        {    Texto2,     "Texto2"},
        {    Texto1,     "Texto1"},
    };
    for (const auto& [control, nombre] : nombres)
        control->setObjectName(QString::fromLatin1(nombre));
}

void Principal::AplicarDisposicion()
{
    setWindowTitle(u"Mondrix v1.0"_s);
    setFixedSize(kAnchoTwips / kTwipsPorPixel, kAltoTwips / kTwipsPorPixel);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    // The window's own font, small like a dialog's; the labels that hold
    // long text are fitted to their rectangles below.
    QFont normal = font();
    normal.setPointSizeF(8);
    setFont(normal);
    QPalette fondo = palette();
    fondo.setColor(QPalette::Window, Colores::Fondo);
    setPalette(fondo);
    setAutoFillBackground(true);

    const auto filas = Disposicion();
    for (const Colocacion& fila : filas) {
        auto* control = findChild<QWidget*>(QString::fromLatin1(fila.nombre), Qt::FindDirectChildrenOnly);
        control->setGeometry(fila.Rectangulo());

        QPalette paleta = control->palette();
        if (fila.navy) {
            for (auto grupo : {QPalette::Active, QPalette::Inactive}) {
                paleta.setColor(grupo, QPalette::WindowText, Colores::Texto);
                paleta.setColor(grupo, QPalette::Text, Colores::Texto);
            }
        }
        if (fila.fondo == Fondo::Verde) {
            paleta.setColor(QPalette::Window, Colores::Boton);
            paleta.setColor(QPalette::Base, Colores::Boton);
        }
        control->setPalette(paleta);

        if (fila.puntos > 0) {
            QFont fuente(kFuenteBotones);
            fuente.setPointSizeF(fila.puntos);
            fuente.setWeight(QFont::Normal);
            fuente.setItalic(false);
            fuente.setUnderline(false);
            fuente.setStrikeOut(false);
            control->setFont(fuente);
        }
        if (auto* etiqueta = qobject_cast<QLabel*>(control)) {
            etiqueta->setAlignment(fila.alineacion);
            etiqueta->setWordWrap(qobject_cast<BotonEtiqueta*>(control) == nullptr);
        }
        if (auto* caja = qobject_cast<QLineEdit*>(control)) {
            caja->setAlignment(fila.alineacion);
            caja->setFrame(false);
        }
        // Assistive tools find a control by its name in its description. A
        // label or the status box is read by what it shows now, so it gets no
        // fixed name; the controls that show no text are named by their name.
        control->setAccessibleDescription(QString::fromLatin1(fila.nombre));
        if (!qobject_cast<QLabel*>(control) && !qobject_cast<CajaEstado*>(control))
            control->setAccessibleName(QString::fromLatin1(fila.nombre));
    }
    AjustarAlRectangulo(*Texto4);
    // Once, here: the scan writes the status line too often to measure it
    // each time.
    Analizando->AjustarA(LineaMasAncha(Analizando->font()));
    Recursos->setFrameShape(QFrame::Box);
    Recursos->setFrameShadow(QFrame::Plain);
    // Earlier rows lie on top of later ones.
    for (auto fila = filas.rbegin(); fila != filas.rend(); ++fila)
        findChild<QWidget*>(QString::fromLatin1(fila->nombre), Qt::FindDirectChildrenOnly)->raise();

    // The keyboard goes round in the drawing's tab order rather than the
    // order the controls were made in. Labels take no focus, so only the
    // list and the two text boxes are chained.
    std::vector<std::pair<int, QWidget*>> enfocables;
    for (const Colocacion& fila : filas) {
        auto* control = findChild<QWidget*>(QString::fromLatin1(fila.nombre), Qt::FindDirectChildrenOnly);
        if (fila.tabulacion >= 0 && (control->focusPolicy() & Qt::TabFocus))
            enfocables.emplace_back(fila.tabulacion, control);
    }
    std::sort(enfocables.begin(), enfocables.end());
    for (std::size_t i = 1; i < enfocables.size(); ++i)
        QWidget::setTabOrder(enfocables[i - 1].second, enfocables[i].second);
}

void Principal::Form_Load()
{
    SistemaArchivos = std::make_unique<ServicioArchivos>();
    Texto3->setText(kExplicacion);
    AjustarAlRectangulo(*Texto3);
    Texto3->setVisible(true);
    HabilitarAcciones(false);
    Abrir->repaint();
}

void Principal::HabilitarAcciones(bool habilitar)
{
    Recursos->setEnabled(habilitar);
    Ejecutar->setEnabled(habilitar);
    Borrar->setEnabled(habilitar);
    Quitar->setEnabled(habilitar);
    Espacio->setEnabled(habilitar);
}

void Principal::Analizando_Click()
{
    plataforma_.MsgBox(this, u"Mas novedades y proximas versiones en "_s + kDireccionWeb, Estilo::Informacion,
                       u"¡Visitanos!"_s);
}

QString Principal::Extraer2(const QString& Path, QChar Caracter) const
{
    return ::Extraer2(Path, Caracter);
}

void Principal::closeEvent(QCloseEvent* evento)
{
    // A running analysis sees this after its next pause and gives up.
    cerrada_ = true;
    QWidget::closeEvent(evento);
}

QString Principal::CarpetaProyecto() const
{
    return ExtraerCarpeta(Abierto->text(), QChar(kSeparador));
}

int Principal::IndiceSeleccionado() const
{
    const auto seleccion = Recursos->selectionModel()->selectedIndexes();
    return seleccion.isEmpty() ? -1 : seleccion.constFirst().row();
}

void Principal::Seleccionar(int indice)
{
    if (indice < 0) {
        Recursos->setCurrentRow(-1);
        Recursos->clearSelection();
    } else {
        Recursos->setCurrentRow(indice);
    }
}
