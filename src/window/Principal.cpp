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
void ajustarAlRectangulo(QLabel& etiqueta)
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
QString lineaMasAncha(const QFont& fuente)
{
    const QFontMetricsF medida(fuente);
    QChar ancha = u'9';
    for (char16_t cifra = u'0'; cifra <= u'9'; ++cifra)
        if (medida.horizontalAdvance(QChar(cifra)) > medida.horizontalAdvance(ancha))
            ancha = QChar(cifra);
    return lineaProgreso(99999, 99999, 99999, 99999).replace(u'9', ancha);
}

const QString kDireccionWeb = u"https://mondrix.example.org"_s;

// Four pieces, one text: what the list holds and what the user must take off it.
const QString kExplicacion =
    u"Estos son los recursos que ni la Base de Datos ni ninguno de los mapas de"_s
    u" su juego utiliza. Sin enbargo este programa no puede leer los Scripts de su juego, por estar estos"_s
    u" codificados. Debe pues, excluir de la lista los recursos utilizados por los scripts personalizados que"_s
    u" usted utiliza en su juego. Excluya también aquellos recursos que no desea que sean eliminados de forma permanente."_s;
}  // namespace

Principal::Principal(Plataforma& plataforma, QWidget* padre) : QWidget(padre), m_plataforma(plataforma)
{
    crearControles();
    aplicarDisposicion();

    connect(m_botonAbrir, &BotonEtiqueta::clicked, this, &Principal::abrirPulsado);
    connect(m_estado, &CajaEstado::clicked, this, &Principal::mostrarNovedades);
    connect(m_botonBorrar, &BotonEtiqueta::clicked, this, &Principal::borrarPulsado);
    connect(m_botonAbrirArchivo, &BotonEtiqueta::clicked, this, &Principal::ejecutarPulsado);
    connect(m_botonEspacio, &BotonEtiqueta::clicked, this, &Principal::espacioPulsado);
    connect(m_botonQuitar, &BotonEtiqueta::clicked, this, &Principal::quitarPulsado);
    connect(m_lista, &QListWidget::itemDoubleClicked, this, &Principal::recursoDobleClicado);

    mostrarExplicacion();
    habilitarAcciones(false);
}

Principal::~Principal() = default;

void Principal::crearControles()
{
    m_dialogoAbrir = new DialogoAbrir(this);
    m_dialogoAbrir->extension = u"rxproj"_s;
    m_dialogoAbrir->filtro = u"Proyecto del Rpg Maker Xp (*.rxproj)"_s;
    m_rutaProyecto = new QLineEdit(this);
    m_rutaProyecto->hide();
    m_estado = new CajaEstado(this);
    m_estado->setText(kDireccionWeb);
    m_lista = new QListWidget(this);
    m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lista->setUniformItemSizes(true);
    m_contornoEspacio = new Contorno(this);
    m_botonEspacio = new BotonEtiqueta(u"Ver espacio ahorrado"_s, this);
    m_contornoQuitar = new Contorno(this);
    m_botonQuitar = new BotonEtiqueta(u"Quitar de la lista"_s, this);
    m_contornoAbrirArchivo = new Contorno(this);
    m_botonAbrirArchivo = new BotonEtiqueta(u"Abrir Archivo"_s, this);
    m_contornoBorrar = new Contorno(this);
    m_botonBorrar = new BotonEtiqueta(u"Borrar Recursos"_s, this);
    m_contornoAbrir = new Contorno(this);
    m_botonAbrir = new BotonEtiqueta(u"Abrir"_s, this);
    m_avisoCopia = new QLabel(
        u"Se recomienda realizar una copia de seguridad de su proyecto antes de proceder con el borrado."_s, this);
    m_espacioAhorrado = new QLabel(this);
    m_paso3 = new QLabel(u"Paso 3: Confirme la eliminación de los recursos de la lista:"_s, this);
    m_explicacion = new QLabel(this);
    m_explicacion->hide();
    m_paso2 = new QLabel(u"Paso 2: Revisa la lista de recursos no utilizados:"_s, this);
    m_paso1 = new QLabel(u"Paso 1: Elige tu proyecto del Rpg Maker Xp:"_s, this);

    // The names by which assistive tools and the tests find each control.
    const std::pair<QObject*, const char*> nombres[] = {
        {        m_dialogoAbrir,   "Dialogos"},
        {        m_rutaProyecto,    "Abierto"},
        {              m_estado, "Analizando"},
        {               m_lista,   "Recursos"},
        {     m_contornoEspacio,     "Shape5"},
        {        m_botonEspacio,    "Espacio"},
        {      m_contornoQuitar,     "Shape4"},
        {         m_botonQuitar,     "Quitar"},
        {m_contornoAbrirArchivo,     "Shape3"},
        {   m_botonAbrirArchivo,   "Ejecutar"},
        {      m_contornoBorrar,     "Shape2"},
        {         m_botonBorrar,     "Borrar"},
        {       m_contornoAbrir,     "Shape1"},
        {          m_botonAbrir,      "Abrir"},
        {          m_avisoCopia,     "Texto4"},
        {     m_espacioAhorrado,     "TextoA"},
        {               m_paso3,     "Label1"},
        {         m_explicacion,     "Texto3"},
        {               m_paso2,     "Texto2"},
        {               m_paso1,     "Texto1"},
    };
    for (const auto& [control, nombre] : nombres)
        control->setObjectName(QString::fromLatin1(nombre));
}

void Principal::aplicarDisposicion()
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

    const auto filas = disposicion();
    for (const Colocacion& fila : filas) {
        auto* control = findChild<QWidget*>(QString::fromLatin1(fila.nombre), Qt::FindDirectChildrenOnly);
        control->setGeometry(fila.rectangulo());

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
    ajustarAlRectangulo(*m_avisoCopia);
    // Once, here: the scan writes the status line too often to measure it
    // each time.
    m_estado->ajustarA(lineaMasAncha(m_estado->font()));
    m_lista->setFrameShape(QFrame::Box);
    m_lista->setFrameShadow(QFrame::Plain);
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

void Principal::mostrarExplicacion()
{
    m_explicacion->setText(kExplicacion);
    ajustarAlRectangulo(*m_explicacion);
    m_explicacion->setVisible(true);
}

void Principal::habilitarAcciones(bool habilitar)
{
    m_lista->setEnabled(habilitar);
    m_botonAbrirArchivo->setEnabled(habilitar);
    m_botonBorrar->setEnabled(habilitar);
    m_botonQuitar->setEnabled(habilitar);
    m_botonEspacio->setEnabled(habilitar);
}

void Principal::mostrarNovedades()
{
    m_plataforma.mostrarMensaje(this, u"Mas novedades y proximas versiones en "_s + kDireccionWeb, Estilo::Informacion,
                                u"¡Visitanos!"_s);
}

void Principal::closeEvent(QCloseEvent* evento)
{
    // A running analysis sees this after its next pause and gives up.
    m_cerrada = true;
    QWidget::closeEvent(evento);
}

void Principal::mostrarProyecto(const QString& rutaProyecto)
{
    m_rutaProyecto->setText(rutaProyecto);
}

QString Principal::carpetaProyecto() const
{
    return hastaElUltimo(m_rutaProyecto->text(), QChar(kSeparador));
}

void Principal::vaciarLista()
{
    m_entradas.vaciar(*m_lista);
}

void Principal::anadirRecursos(const QString& carpeta, std::span<const Archivo> archivos)
{
    m_entradas.anadir(*m_lista, carpeta, archivos);
}

void Principal::mostrarPresentes(const std::vector<char>& presentes)
{
    m_entradas.sincronizar(*m_lista, presentes);
}

void Principal::quitarRecurso(int fila)
{
    m_entradas.quitar(*m_lista, fila);
}

int Principal::numRecursos() const
{
    return m_lista->count();
}

QString Principal::textoRecurso(int fila) const
{
    return m_lista->item(fila)->text();
}

std::filesystem::path Principal::rutaRecurso(int fila) const
{
    return m_entradas.ruta(fila);
}

int Principal::filaSeleccionada() const
{
    const auto seleccion = m_lista->selectionModel()->selectedIndexes();
    return seleccion.isEmpty() ? -1 : seleccion.constFirst().row();
}

void Principal::seleccionarFila(int fila)
{
    if (fila < 0) {
        m_lista->setCurrentRow(-1);
        m_lista->clearSelection();
    } else {
        m_lista->setCurrentRow(fila);
    }
}

void Principal::mostrarEstado(const QString& linea, bool pintarYa)
{
    m_estado->setText(linea);
    if (pintarYa)
        m_estado->repaint();
}

void Principal::mostrarEspacio(const QString& texto)
{
    m_espacioAhorrado->setText(texto);
}
