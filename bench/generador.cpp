// Writes a synthetic RPG Maker XP project for the benchmark: tens of thousands
// of resource files (empty: only their names matter) and hundreds of megabytes
// of data files in Ruby Marshal 4.8, the format the engine saves its database
// and maps in, with about a chosen share of the resources named somewhere in
// the data. Beside the project it writes the list of resources that no data
// file names, found by searching the bytes actually written.
//
//   generador DEST [--recursos N] [--archivos F] [--mb M] [--usados P] [--semilla S]
//
// Everything drawn at random comes from one seeded generator, so the same
// arguments give the same project, byte for byte.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// splitmix64. The <random> distributions differ between standard libraries;
// this gives the same numbers everywhere.
class Azar {
public:
    explicit Azar(std::uint64_t semilla) : m_estado(semilla) {}

    std::uint64_t siguiente()
    {
        std::uint64_t z = (m_estado += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // [0, n); the modulo bias is far below anything a benchmark notices.
    std::uint64_t Hasta(std::uint64_t n) { return n == 0 ? 0 : siguiente() % n; }
    long Entre(long desde, long hasta)
    {
        return desde + static_cast<long>(Hasta(static_cast<std::uint64_t>(hasta - desde + 1)));
    }
    double Real() { return static_cast<double>(siguiente() >> 11) * (1.0 / 9007199254740992.0); }
    bool Prob(double p) { return Real() < p; }
    template <std::size_t N> const char* De(const char* const (&lista)[N]) { return lista[Hasta(N)]; }

private:
    std::uint64_t m_estado;
};

// Every resource name starts with this, so every occurrence of a key in the
// data starts at an occurrence of the marker: the expected list is found by
// looking only there. Filler text never holds it, so the keys found are the
// ones written on purpose and those they contain.
constexpr std::string_view kMarca = "Recurso ";

struct Carpeta {
    const char* ruta;
    int peso;    // share of the resources, in percent
    char clase;  // 'G' graphics, 'B' BGM, 'M' ME, 'S' BGS, 'E' SE
};

const Carpeta kCarpetas[] = {
    { "Graphics/Animations",  6, 'G'},
    {  "Graphics/Autotiles",  3, 'G'},
    {"Graphics/Battlebacks",  4, 'G'},
    {   "Graphics/Battlers", 10, 'G'},
    {       "Graphics/Fogs",  2, 'G'},
    {  "Graphics/Gameovers",  1, 'G'},
    {      "Graphics/Icons", 12, 'G'},
    {  "Graphics/Panoramas",  3, 'G'},
    {   "Graphics/Pictures", 14, 'G'},
    {   "Graphics/Tilesets",  4, 'G'},
    {     "Graphics/Titles",  1, 'G'},
    {"Graphics/Transitions",  2, 'G'},
    {"Graphics/Windowskins",  1, 'G'},
    {           "Audio/BGM",  6, 'B'},
    {            "Audio/ME",  3, 'M'},
    {           "Audio/BGS",  3, 'S'},
    {            "Audio/SE", 25, 'E'},
};
constexpr int kNumCarpetas = static_cast<int>(sizeof kCarpetas / sizeof kCarpetas[0]);

// Non-ASCII words are written as UTF-8 escapes so that the source reads the
// same under any compiler's idea of the source character set.
const char* const kPalabrasNombre[] = {
    "bosque", "castillo", "cueva",  "aldea",    "mar",     "noche",  "batalla", "fuego",  "hielo", "viento", "trueno",
    "cielo",  "ruinas",   "templo", "desierto", "pantano", "puerto", "torre",   "battle", "field", "town",   "theme",
    "boss",   "victory",  "cursor", "door",     "step",    "slash",  "magic",   "heal",   "sky",   "fog",    "title",
    "window", "blue",     "red",    "green",    "dark",    "light",  "wind",    "water",  "earth",
};
const char* const kPalabrasNombreUtf8[] = {
    "Canci\xC3\xB3n",             // Canción
    "h\xC3\xA9roe",               // héroe
    "drag\xC3\xB3n",              // dragón
    "ni\xC3\xB1o",                // niño
    "ping\xC3\xBCino",            // pingüino
    "caf\xC3\xA9",                // café
    "\xE6\xA3\xAE",               // 森
    "\xE5\x9F\x8E",               // 城
    "\xE5\x89\xA3",               // 剣
    "\xE6\xB5\xB7",               // 海
    "Canci\xC3\xB3n del bosque",  // Canción del bosque
};
const char* const kSufijosVariante[] = {"-2", "-noche", " b", "_alt", "-grande", "01", "-final", " (copia)"};

// Filler. None of it may contain kMarca.
const char* const kPalabras[] = {
    "el",
    "la",
    "de",
    "del",
    "en",
    "un",
    "una",
    "no",
    "que",
    "con",
    "por",
    "para",
    "sin",
    "al",
    "los",
    "las",
    "aldea",
    "bosque",
    "castillo",
    "cueva",
    "espada",
    "escudo",
    "tesoro",
    "cofre",
    "puerta",
    "llave",
    "guardia",
    "rey",
    "reina",
    "princesa",
    "caballero",
    "mago",
    "posada",
    "tienda",
    "puente",
    "torre",
    "mazmorra",
    "camino",
    "ciudad",
    "barco",
    "anillo",
    "cristal",
    "luna",
    "sol",
    "viajero",
    "puedes",
    "pasar",
    "hablar",
    "busca",
    "encontraste",
    "has",
    "obtenido",
    "oro",
    "monedas",
    "norte",
    "sur",
    "este",
    "oeste",
    "antes",
    "noche",
    "the",
    "of",
    "you",
    "found",
    "must",
    "find",
    "before",
    "night",
    "falls",
    "welcome",
    "to",
    "our",
    "village",
    "forest",
    "castle",
    "sword",
    "shield",
    "potion",
    "treasure",
    "chest",
    "door",
    "key",
    "guard",
    "king",
    "queen",
    "knight",
    "wizard",
    "inn",
    "shop",
    "bridge",
    "tower",
    "dungeon",
    "road",
    "harbor",
    "ring",
    "crystal",
    "moon",
    "gold",
    "is",
    "closed",
    "open",
    "please",
    "come",
    "back",
    "later",
    "thank",
    "for",
    "your",
    "help",
    "hero",
    "poci\xC3\xB3n",  // poción
    "drag\xC3\xB3n",  // dragón
    "r\xC3\xADo",     // río
    "monta\xC3\xB1"
    "a",            // montaña
    "est\xC3\xA1",  // está
    "\xC2\xA1"
    "Cuidado",  // ¡Cuidado
};
const char* const kFinales[] = {".", ".", ".", "!", "?", "...", "!!"};
const char* const kCodigosTexto[] = {"", "", "", "", "\\c[2]", "\\n[1]: ", "\\v[3] ", "\\g "};
// Script lines, split where a number goes.
const char* const kScripts[][2] = {
    {                "$game_switches[", "] = true"},
    {               "$game_variables[",   "] += 1"},
    {         "$game_party.gain_gold(",        ")"},
    {      "$scene = Scene_Map.new # ",         ""},
    {  "$game_temp.common_event_id = ",         ""},
    {            "if $game_variables[",   "] > 10"},
    {                         "end # ",         ""},
    {           "$game_player.moveto(",     ", 7)"},
    {"$game_screen.start_shake(5, 5, ",        ")"},
    {   "Input.trigger?(Input::C) && ",     " > 0"},
};
const char* const kPersonajes[] = {"Fighter", "Lancer",   "Warrior", "Thief",   "Hunter",  "Gunner", "Cleric",
                                   "Mage",    "Civilian", "Noble",   "Soldier", "Monster", "Object"};
const char* const kSonidos[] = {"System", "Attack", "Door", "Cursor", "Cancel", "Buzzer", "Item", "Skill"};
const char* const kIconos[] = {"Weapon", "Armor", "Potion", "Accessory", "Item", "Skill"};

// Ruby Marshal 4.8, as `Marshal.dump` writes it: only what the engine's data
// uses. Symbols are written once and then referred to by index, as Ruby does.
class Volcado {
public:
    std::string b{"\x04\x08"};

    // Ruby's w_long: 0; 1..122 as n+5; -123..-1 as n-5; otherwise a signed
    // count byte and that many little-endian bytes.
    static void Largo(std::string& destino, long n)
    {
        if (n == 0) {
            destino += '\0';
        } else if (n > 0 && n < 123) {
            destino += static_cast<char>(n + 5);
        } else if (n < 0 && n > -124) {
            destino += static_cast<char>((n - 5) & 0xFF);
        } else {
            char bytes[9];
            long x = n;
            int i = 1;
            for (; i <= 8; ++i) {
                bytes[i] = static_cast<char>(x & 0xFF);
                x >>= 8;  // arithmetic on negatives, as in Ruby
                if (x == 0) {
                    bytes[0] = static_cast<char>(i);
                    break;
                }
                if (x == -1) {
                    bytes[0] = static_cast<char>(-i);
                    break;
                }
            }
            destino.append(bytes, static_cast<std::size_t>(i) + 1);
        }
    }
    void Largo(long n) { Largo(b, n); }

    void Nil() { b += '0'; }
    void Bool(bool valor) { b += valor ? 'T' : 'F'; }
    // Fixnum; the data keeps to 31-bit values, which is what Ruby writes as 'i'.
    void Entero(long n)
    {
        b += 'i';
        Largo(n);
    }
    void Simbolo(std::string_view nombre)
    {
        auto it = m_simbolos.find(std::string(nombre));
        if (it != m_simbolos.end()) {
            b += ';';
            Largo(it->second);
            return;
        }
        const long indice = static_cast<long>(m_simbolos.size());
        m_simbolos.emplace(std::string(nombre), indice);
        b += ':';
        Largo(static_cast<long>(nombre.size()));
        b += nombre;
    }
    // A UTF-8 String: the bytes plus the instance variable E = true.
    void Cadena(std::string_view texto)
    {
        b += "I\"";
        Largo(static_cast<long>(texto.size()));
        b += texto;
        Largo(1);
        Simbolo("E");
        b += 'T';
    }
    void Arreglo(long n)
    {
        b += '[';
        Largo(n);
    }
    void Objeto(std::string_view clase, long variables)
    {
        b += 'o';
        Simbolo(clase);
        Largo(variables);
    }
    void Variable(std::string_view nombre) { Simbolo(nombre); }
    // An object saved through its own _dump, like the engine's Table.
    void Propio(std::string_view clase, std::string_view bytes)
    {
        b += 'u';
        Simbolo(clase);
        Largo(static_cast<long>(bytes.size()));
        b += bytes;
    }

    // Arrays and hashes whose length is known only after their elements are
    // written: open with the type byte, close by inserting the length.
    std::size_t Abrir(char tipo)
    {
        b += tipo;
        return b.size();
    }
    void Cerrar(std::size_t donde, long n)
    {
        std::string largo;
        Largo(largo, n);
        b.insert(donde, largo);
    }

private:
    std::unordered_map<std::string, long> m_simbolos;
};

struct Recurso {
    int carpeta;
    std::string nombre;
    std::string clave;
};

enum class Tipo { Mapa, Base, Sistema, InfoMapas };

struct ArchivoDatos {
    std::string nombre;
    Tipo tipo;
    std::string clase;  // class of the records, for database files
    std::size_t objetivo = 0;
    std::vector<int> claves;  // resources named in this file
};

std::string Clave(const std::string& nombre)
{
    const auto punto = nombre.rfind('.');
    return punto == std::string::npos ? nombre : nombre.substr(0, punto);
}

const char* Extension(char clase, Azar& azar)
{
    const long r = azar.Entre(0, 99);
    switch (clase) {
    case 'G':
        return r < 88 ? ".png" : ".jpg";
    case 'B':
        return r < 40 ? ".mid" : r < 75 ? ".ogg" : ".mp3";
    case 'M':
        return r < 50 ? ".mid" : r < 80 ? ".ogg" : ".wav";
    case 'S':
        return r < 60 ? ".ogg" : ".wav";
    default:
        return r < 55 ? ".wav" : ".ogg";
    }
}

int CarpetaAlAzar(Azar& azar)
{
    long r = azar.Entre(0, 99);
    for (int c = 0; c < kNumCarpetas; ++c) {
        r -= kCarpetas[c].peso;
        if (r < 0)
            return c;
    }
    return kNumCarpetas - 1;
}

int Cifras(long n)
{
    int cifras = 1;
    while (n >= 10) {
        n /= 10;
        ++cifras;
    }
    return cifras;
}

std::string Numero(long n, int ancho)
{
    std::string texto = std::to_string(n);
    if (static_cast<int>(texto.size()) < ancho)
        texto.insert(0, static_cast<std::size_t>(ancho) - texto.size(), '0');
    return texto;
}

// Names like "Recurso 00042-bosque.png". Some take an earlier key and add to
// it, so that a key is a prefix of another; some reuse an earlier key with
// another extension or folder; a few have two dots or none.
std::vector<Recurso> Recursos(long cantidad, Azar& azar)
{
    std::vector<Recurso> recursos;
    recursos.reserve(static_cast<std::size_t>(cantidad));
    std::unordered_set<std::string> ocupados;  // "folder index|name"
    const int ancho = std::max(5, Cifras(cantidad));
    long numero = 0;
    while (static_cast<long>(recursos.size()) < cantidad) {
        const int carpeta = CarpetaAlAzar(azar);
        const char clase = kCarpetas[carpeta].clase;
        std::string nombre;
        const long tirada = azar.Entre(0, 999);
        if (tirada < 80 && !recursos.empty()) {
            nombre = recursos[azar.Hasta(recursos.size())].clave + azar.De(kSufijosVariante) + Extension(clase, azar);
        } else if (tirada < 110 && !recursos.empty()) {
            nombre = recursos[azar.Hasta(recursos.size())].clave + Extension(clase, azar);
        } else {
            nombre = std::string(kMarca) + Numero(++numero, ancho) + "-";
            if (azar.Prob(0.08)) {
                nombre += azar.De(kPalabrasNombreUtf8);
            } else {
                nombre += azar.De(kPalabrasNombre);
                if (azar.Prob(0.3))
                    nombre += std::string(azar.Prob(0.5) ? " " : "-") + azar.De(kPalabrasNombre);
            }
            if (tirada < 120)
                nombre += azar.Prob(0.5) ? ".v2" : ".old";
            if (tirada != 120)
                nombre += Extension(clase, azar);
        }
        if (!ocupados.insert(std::to_string(carpeta) + "|" + nombre).second)
            continue;
        recursos.push_back({carpeta, nombre, Clave(nombre)});
    }
    return recursos;
}

// A few database files, like the engine's, and maps for the rest.
std::vector<ArchivoDatos> ArchivosDatos(long cantidad)
{
    struct Base {
        const char* nombre;
        Tipo tipo;
        const char* clase;
    };
    static const Base kBases[] = {
        {      "System",   Tipo::Sistema,      "RPG::System"},
        {      "Actors",      Tipo::Base,       "RPG::Actor"},
        {    "MapInfos", Tipo::InfoMapas,     "RPG::MapInfo"},
        {    "Tilesets",      Tipo::Base,     "RPG::Tileset"},
        {       "Items",      Tipo::Base,        "RPG::Item"},
        {      "Skills",      Tipo::Base,       "RPG::Skill"},
        {     "Weapons",      Tipo::Base,      "RPG::Weapon"},
        {      "Armors",      Tipo::Base,       "RPG::Armor"},
        {     "Enemies",      Tipo::Base,       "RPG::Enemy"},
        {      "Troops",      Tipo::Base,       "RPG::Troop"},
        {      "States",      Tipo::Base,       "RPG::State"},
        {  "Animations",      Tipo::Base,   "RPG::Animation"},
        {     "Classes",      Tipo::Base,       "RPG::Class"},
        {"CommonEvents",      Tipo::Base, "RPG::CommonEvent"},
    };
    const long bases = std::min<long>(static_cast<long>(sizeof kBases / sizeof kBases[0]), cantidad / 4);
    const long mapas = cantidad - bases;
    const int ancho = std::max(4, Cifras(mapas));
    std::vector<ArchivoDatos> archivos;
    for (long i = 0; i < bases; ++i)
        archivos.push_back({std::string(kBases[i].nombre) + ".rxdata", kBases[i].tipo, kBases[i].clase, 0, {}});
    for (long i = 1; i <= mapas; ++i)
        archivos.push_back({"Map" + Numero(i, ancho) + ".rxdata", Tipo::Mapa, "RPG::Map", 0, {}});
    return archivos;
}

// Sizes vary widely, as real maps do: one file is the largest (about 4 MB
// with the defaults), the others follow a log-uniform spread scaled to the
// total and kept under it.
void RepartirTamanos(std::vector<ArchivoDatos>& archivos, double total, Azar& azar)
{
    const std::size_t n = archivos.size();
    if (n == 0)
        return;
    if (n == 1) {
        archivos[0].objetivo = static_cast<std::size_t>(total);
        return;
    }
    const double minimo = 300.0;
    const double mayor = std::min(std::max(4e6, 2.0 * total / static_cast<double>(n)), total / 2.0);
    std::size_t elegido = n - 1 - azar.Hasta((n + 1) / 2);  // one of the maps
    std::vector<double> peso(n), valor(n, 0.0);
    std::vector<bool> fijo(n, false);
    for (std::size_t i = 0; i < n; ++i)
        peso[i] = static_cast<double>(1u << azar.Hasta(13)) * (1.0 + azar.Real());
    fijo[elegido] = true;
    valor[elegido] = mayor;
    for (int vuelta = 0; vuelta < 50; ++vuelta) {
        double resto = total, suma = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            if (fijo[i])
                resto -= valor[i];
            else
                suma += peso[i];
        }
        if (suma <= 0.0)
            break;
        bool cambio = false;
        for (std::size_t i = 0; i < n; ++i) {
            if (fijo[i])
                continue;
            valor[i] = peso[i] * resto / suma;
            if (valor[i] > mayor) {
                valor[i] = mayor;
                fijo[i] = true;
                cambio = true;
            }
        }
        if (!cambio)
            break;
    }
    for (std::size_t i = 0; i < n; ++i)
        archivos[i].objetivo = static_cast<std::size_t>(std::max(minimo, valor[i]));
}

// Fills one data file until it reaches its size, spreading the resource keys
// it must name evenly through it.
class Escritor {
public:
    Escritor(const ArchivoDatos& archivo, const std::vector<Recurso>& recursos, Azar& azar)
        : m_archivo(archivo), m_recursos(recursos), m_azar(azar)
    {
    }

    std::string Escribir()
    {
        switch (m_archivo.tipo) {
        case Tipo::Mapa:
            Mapa();
            break;
        case Tipo::Base:
            Base();
            break;
        case Tipo::Sistema:
            Sistema();
            break;
        case Tipo::InfoMapas:
            InfoMapas();
            break;
        }
        return std::move(m_v.b);
    }

private:
    bool Lleno() const { return m_v.b.size() >= m_archivo.objetivo; }
    bool pendiente() const { return m_colocadas < m_archivo.claves.size(); }
    // Key k goes at about k/keys of the way through the file.
    bool Toca() const
    {
        return pendiente() && m_colocadas * m_archivo.objetivo <= m_archivo.claves.size() * m_v.b.size();
    }

    std::string Mensaje()
    {
        std::string texto = m_azar.De(kCodigosTexto);
        const long palabras = m_azar.Entre(3, 14);
        for (long i = 0; i < palabras; ++i) {
            if (i)
                texto += ' ';
            texto += m_azar.De(kPalabras);
        }
        return texto + m_azar.De(kFinales);
    }
    std::string Script()
    {
        const auto& partes = kScripts[m_azar.Hasta(sizeof kScripts / sizeof kScripts[0])];
        return partes[0] + std::to_string(m_azar.Entre(1, 200)) + partes[1];
    }
    std::string Personaje()
    {
        return Numero(m_azar.Entre(1, 60), 3) + "-" + m_azar.De(kPersonajes) + Numero(m_azar.Entre(1, 9), 2);
    }
    std::string Sonido()
    {
        return Numero(m_azar.Entre(1, 60), 3) + "-" + m_azar.De(kSonidos) + Numero(m_azar.Entre(1, 9), 2);
    }
    std::string Icono()
    {
        return Numero(m_azar.Entre(1, 50), 3) + "-" + m_azar.De(kIconos) + Numero(m_azar.Entre(1, 9), 2);
    }

    void Audio(const std::string& nombre)
    {
        m_v.Objeto("RPG::AudioFile", 3);
        m_v.Variable("@name");
        m_v.Cadena(nombre);
        m_v.Variable("@volume");
        m_v.Entero(m_azar.Entre(60, 100));
        m_v.Variable("@pitch");
        m_v.Entero(m_azar.Entre(80, 120));
    }

    void Comando(long codigo, long sangria)
    {
        m_v.Objeto("RPG::EventCommand", 3);
        m_v.Variable("@code");
        m_v.Entero(codigo);
        m_v.Variable("@indent");
        m_v.Entero(sangria);
        m_v.Variable("@parameters");
    }

    // Names the next pending resource the way the editor would: pictures
    // through "Show Picture", sounds through the matching "Play" command.
    long ComandoClave(long sangria)
    {
        const Recurso& recurso = m_recursos[static_cast<std::size_t>(m_archivo.claves[m_colocadas++])];
        switch (kCarpetas[recurso.carpeta].clase) {
        case 'G':
            Comando(231, sangria);
            m_v.Arreglo(10);
            m_v.Entero(m_azar.Entre(1, 50));
            m_v.Cadena(recurso.clave);
            m_v.Entero(0);
            m_v.Entero(0);
            m_v.Entero(m_azar.Entre(0, 640));
            m_v.Entero(m_azar.Entre(0, 480));
            m_v.Entero(100);
            m_v.Entero(100);
            m_v.Entero(255);
            m_v.Entero(0);
            break;
        default: {
            const char clase = kCarpetas[recurso.carpeta].clase;
            Comando(clase == 'B' ? 241 : clase == 'M' ? 249 : clase == 'S' ? 245 : 250, sangria);
            m_v.Arreglo(1);
            Audio(recurso.clave);
        }
        }
        return 1;
    }

    // One filler command, or a few that belong together; returns how many.
    long ComandoRelleno(long sangria)
    {
        switch (m_azar.Entre(0, 11)) {
        case 0:
        case 1:
        case 2: {
            Comando(101, sangria);
            m_v.Arreglo(1);
            m_v.Cadena(Mensaje());
            const long lineas = m_azar.Entre(0, 3);
            for (long i = 0; i < lineas; ++i) {
                Comando(401, sangria);
                m_v.Arreglo(1);
                m_v.Cadena(Mensaje());
            }
            return 1 + lineas;
        }
        case 3:
            Comando(108, sangria);
            m_v.Arreglo(1);
            m_v.Cadena(Mensaje());
            return 1;
        case 4: {
            Comando(355, sangria);
            m_v.Arreglo(1);
            m_v.Cadena(Script());
            const long lineas = m_azar.Entre(0, 2);
            for (long i = 0; i < lineas; ++i) {
                Comando(655, sangria);
                m_v.Arreglo(1);
                m_v.Cadena(Script());
            }
            return 1 + lineas;
        }
        case 5: {
            const long s = m_azar.Entre(1, 500);
            Comando(121, sangria);
            m_v.Arreglo(3);
            m_v.Entero(s);
            m_v.Entero(s);
            m_v.Entero(m_azar.Entre(0, 1));
            return 1;
        }
        case 6: {
            const long s = m_azar.Entre(1, 500);
            Comando(122, sangria);
            m_v.Arreglo(5);
            m_v.Entero(s);
            m_v.Entero(s);
            m_v.Entero(m_azar.Entre(0, 5));
            m_v.Entero(0);
            m_v.Entero(m_azar.Entre(-9999, 99999));
            return 1;
        }
        case 7: {
            Comando(111, sangria);
            m_v.Arreglo(3);
            m_v.Entero(0);
            m_v.Entero(m_azar.Entre(1, 500));
            m_v.Entero(0);
            long n = 1;
            const long dentro = m_azar.Entre(1, 3);
            for (long i = 0; i < dentro; ++i)
                n += Toca() ? ComandoClave(sangria + 1) : SimpleRelleno(sangria + 1);
            Comando(0, sangria + 1);
            m_v.Arreglo(0);
            Comando(412, sangria);
            m_v.Arreglo(0);
            return n + 2;
        }
        case 8:
            Comando(201, sangria);
            m_v.Arreglo(6);
            m_v.Entero(0);
            m_v.Entero(m_azar.Entre(1, 999));
            m_v.Entero(m_azar.Entre(0, 99));
            m_v.Entero(m_azar.Entre(0, 99));
            m_v.Entero(2 * m_azar.Entre(1, 4));
            m_v.Entero(0);
            return 1;
        case 9:
            Comando(250, sangria);
            m_v.Arreglo(1);
            Audio(Sonido());
            return 1;
        case 10:
            Comando(106, sangria);
            m_v.Arreglo(1);
            m_v.Entero(m_azar.Entre(1, 120));
            return 1;
        default:
            Comando(125, sangria);
            m_v.Arreglo(3);
            m_v.Entero(0);
            m_v.Entero(0);
            m_v.Entero(m_azar.Entre(1, 100000));
            return 1;
        }
    }
    long SimpleRelleno(long sangria)
    {
        Comando(101, sangria);
        m_v.Arreglo(1);
        m_v.Cadena(Mensaje());
        return 1;
    }

    // An event list, ended by the empty command 0 as the editor leaves it.
    // With `vaciar`, every key still pending goes into it.
    void Lista(bool vaciar)
    {
        const std::size_t donde = m_v.Abrir('[');
        long n = 0;
        const long cuantos = m_azar.Entre(2, 24);
        for (long i = 0; i < cuantos; ++i)
            n += Toca() ? ComandoClave(0) : ComandoRelleno(0);
        while (vaciar && pendiente())
            n += ComandoClave(0);
        Comando(0, 0);
        m_v.Arreglo(0);
        m_v.Cerrar(donde, n + 1);
    }

    void Pagina(bool vaciar)
    {
        m_v.Objeto("RPG::Event::Page", 13);
        m_v.Variable("@condition");
        m_v.Objeto("RPG::Event::Page::Condition", 9);
        m_v.Variable("@switch1_valid");
        m_v.Bool(false);
        m_v.Variable("@switch2_valid");
        m_v.Bool(false);
        m_v.Variable("@variable_valid");
        m_v.Bool(false);
        m_v.Variable("@self_switch_valid");
        m_v.Bool(m_azar.Prob(0.2));
        m_v.Variable("@switch1_id");
        m_v.Entero(1);
        m_v.Variable("@switch2_id");
        m_v.Entero(1);
        m_v.Variable("@variable_id");
        m_v.Entero(1);
        m_v.Variable("@variable_value");
        m_v.Entero(0);
        m_v.Variable("@self_switch_ch");
        m_v.Cadena("A");
        m_v.Variable("@graphic");
        m_v.Objeto("RPG::Event::Page::Graphic", 7);
        m_v.Variable("@tile_id");
        m_v.Entero(0);
        m_v.Variable("@character_name");
        m_v.Cadena(m_azar.Prob(0.8) ? Personaje() : std::string());
        m_v.Variable("@character_hue");
        m_v.Entero(0);
        m_v.Variable("@direction");
        m_v.Entero(2 * m_azar.Entre(1, 4));
        m_v.Variable("@pattern");
        m_v.Entero(0);
        m_v.Variable("@opacity");
        m_v.Entero(255);
        m_v.Variable("@blend_type");
        m_v.Entero(0);
        m_v.Variable("@move_type");
        m_v.Entero(m_azar.Entre(0, 3));
        m_v.Variable("@move_speed");
        m_v.Entero(3);
        m_v.Variable("@move_frequency");
        m_v.Entero(3);
        m_v.Variable("@move_route");
        m_v.Objeto("RPG::MoveRoute", 3);
        m_v.Variable("@repeat");
        m_v.Bool(true);
        m_v.Variable("@skippable");
        m_v.Bool(false);
        m_v.Variable("@list");
        m_v.Arreglo(1);
        m_v.Objeto("RPG::MoveCommand", 2);
        m_v.Variable("@code");
        m_v.Entero(0);
        m_v.Variable("@parameters");
        m_v.Arreglo(0);
        m_v.Variable("@walk_anime");
        m_v.Bool(true);
        m_v.Variable("@step_anime");
        m_v.Bool(false);
        m_v.Variable("@direction_fix");
        m_v.Bool(false);
        m_v.Variable("@through");
        m_v.Bool(false);
        m_v.Variable("@always_on_top");
        m_v.Bool(false);
        m_v.Variable("@trigger");
        m_v.Entero(m_azar.Entre(0, 4));
        m_v.Variable("@list");
        Lista(vaciar);
    }

    void Evento(long id, bool vaciar)
    {
        m_v.Objeto("RPG::Event", 5);
        m_v.Variable("@id");
        m_v.Entero(id);
        m_v.Variable("@name");
        m_v.Cadena(m_azar.Prob(0.6) ? "EV" + Numero(id, 3) : std::string(m_azar.De(kPalabras)));
        m_v.Variable("@x");
        m_v.Entero(m_azar.Entre(0, 99));
        m_v.Variable("@y");
        m_v.Entero(m_azar.Entre(0, 99));
        m_v.Variable("@pages");
        const long paginas = m_azar.Entre(1, 3);
        m_v.Arreglo(paginas);
        for (long p = 0; p < paginas; ++p)
            Pagina(vaciar && p == paginas - 1);
    }

    // The engine's Table: dimensions, then 16-bit tile ids, little-endian.
    std::string Tabla(long ancho, long alto)
    {
        const long capas = 3;
        std::string bytes;
        auto entero32 = [&](long n) {
            for (int i = 0; i < 4; ++i)
                bytes += static_cast<char>((n >> (8 * i)) & 0xFF);
        };
        entero32(3);
        entero32(ancho);
        entero32(alto);
        entero32(capas);
        entero32(ancho * alto * capas);
        const long base = 384 + 48 * m_azar.Entre(0, 6);
        for (long z = 0; z < capas; ++z)
            for (long y = 0; y < alto; ++y)
                for (long x = 0; x < ancho; ++x) {
                    long tile = 0;
                    if (z == 0)
                        tile = base + ((x / 5 + y / 4) % 6) * 8 + static_cast<long>(m_azar.Hasta(2));
                    else if (z == 1 && m_azar.Hasta(10) == 0)
                        tile = 384 + m_azar.Entre(0, 300);
                    bytes += static_cast<char>(tile & 0xFF);
                    bytes += static_cast<char>((tile >> 8) & 0xFF);
                }
        return bytes;
    }

    void Mapa()
    {
        // The tile table takes up to about a quarter of the file.
        long lado = 5;
        while (lado < 100 && (lado + 1) * (lado + 1) * 6 * 3 <= static_cast<long>(m_archivo.objetivo))
            ++lado;
        const long ancho = lado, alto = std::max(5L, lado * 3 / 4);
        m_v.Objeto("RPG::Map", 11);
        m_v.Variable("@tileset_id");
        m_v.Entero(m_azar.Entre(1, 50));
        m_v.Variable("@width");
        m_v.Entero(ancho);
        m_v.Variable("@height");
        m_v.Entero(alto);
        m_v.Variable("@autoplay_bgm");
        m_v.Bool(m_azar.Prob(0.5));
        m_v.Variable("@bgm");
        Audio(m_azar.Prob(0.5) ? Sonido() : std::string());
        m_v.Variable("@autoplay_bgs");
        m_v.Bool(false);
        m_v.Variable("@bgs");
        Audio(std::string());
        m_v.Variable("@encounter_list");
        m_v.Arreglo(0);
        m_v.Variable("@encounter_step");
        m_v.Entero(30);
        m_v.Variable("@data");
        m_v.Propio("Table", Tabla(ancho, alto));
        m_v.Variable("@events");
        const std::size_t donde = m_v.Abrir('{');
        long eventos = 0;
        while (!Lleno()) {
            ++eventos;
            m_v.Entero(eventos);
            Evento(eventos, false);
        }
        if (pendiente()) {
            ++eventos;
            m_v.Entero(eventos);
            Evento(eventos, true);
        }
        m_v.Cerrar(donde, eventos);
    }

    void Registro(long id, bool vaciar)
    {
        m_v.Objeto(m_archivo.clase, 6);
        m_v.Variable("@id");
        m_v.Entero(id);
        m_v.Variable("@name");
        m_v.Cadena(std::string(m_azar.De(kPalabras)) + " " + m_azar.De(kPalabras));
        m_v.Variable("@icon_name");
        m_v.Cadena(Icono());
        m_v.Variable("@description");
        m_v.Cadena(Mensaje());
        m_v.Variable("@parameters");
        const long valores = m_azar.Entre(4, 16);
        m_v.Arreglo(valores);
        for (long i = 0; i < valores; ++i)
            m_v.Entero(m_azar.Entre(0, 9999));
        m_v.Variable("@list");
        Lista(vaciar);
    }

    // Database files are arrays whose first element is nil, as the engine saves them.
    void Base()
    {
        const std::size_t donde = m_v.Abrir('[');
        m_v.Nil();
        long n = 1;
        while (!Lleno()) {
            Registro(n, false);
            ++n;
        }
        if (pendiente()) {
            Registro(n, true);
            ++n;
        }
        m_v.Cerrar(donde, n);
    }

    void Sistema()
    {
        m_v.Objeto("RPG::System", 12);
        m_v.Variable("@magic_number");
        m_v.Entero(m_azar.Entre(1, 999999));
        m_v.Variable("@windowskin_name");
        m_v.Cadena("001-Blue01");
        m_v.Variable("@title_name");
        m_v.Cadena("001-Title01");
        m_v.Variable("@gameover_name");
        m_v.Cadena("001-Gameover01");
        m_v.Variable("@battle_transition");
        m_v.Cadena("");
        m_v.Variable("@title_bgm");
        Audio("001-Intro01");
        m_v.Variable("@battle_bgm");
        Audio("002-Battle02");
        m_v.Variable("@cursor_se");
        Audio("001-System01");
        m_v.Variable("@start_map_id");
        m_v.Entero(1);
        // Switch and variable names fill the first 30% and then up to 60%.
        const std::pair<const char*, std::size_t> listas[] = {
            { "@switches", 3},
            {"@variables", 6}
        };
        for (const auto& [lista, decimas] : listas) {
            m_v.Variable(lista);
            const std::size_t donde = m_v.Abrir('[');
            m_v.Nil();
            long n = 1;
            const std::size_t hasta = m_archivo.objetivo * decimas / 10;
            while (m_v.b.size() < hasta) {
                m_v.Cadena(std::string(m_azar.De(kPalabras)) + " " + std::to_string(n));
                ++n;
            }
            m_v.Cerrar(donde, n);
        }
        m_v.Variable("@list");
        const std::size_t donde = m_v.Abrir('[');
        long n = 0;
        while (!Lleno() || pendiente())
            n += Toca() ? ComandoClave(0) : ComandoRelleno(0);
        Comando(0, 0);
        m_v.Arreglo(0);
        m_v.Cerrar(donde, n + 1);
    }

    void InfoMapas()
    {
        const std::size_t donde = m_v.Abrir('{');
        long n = 0;
        while (!Lleno() || pendiente()) {
            ++n;
            m_v.Entero(n);
            m_v.Objeto("RPG::MapInfo", 6);
            // Keys are not sent here, as the engine keeps no resource names
            // in this file; were any, they would go in as map names.
            m_v.Variable("@name");
            if (Toca())
                m_v.Cadena(m_recursos[static_cast<std::size_t>(m_archivo.claves[m_colocadas++])].clave);
            else
                m_v.Cadena("MAP" + Numero(n, 3));
            m_v.Variable("@parent_id");
            m_v.Entero(n > 1 ? m_azar.Entre(0, n - 1) : 0);
            m_v.Variable("@order");
            m_v.Entero(n);
            m_v.Variable("@expanded");
            m_v.Bool(m_azar.Prob(0.3));
            m_v.Variable("@scroll_x");
            m_v.Entero(m_azar.Entre(0, 2000));
            m_v.Variable("@scroll_y");
            m_v.Entero(m_azar.Entre(0, 2000));
        }
        m_v.Cerrar(donde, n);
    }

    const ArchivoDatos& m_archivo;
    const std::vector<Recurso>& m_recursos;
    Azar& m_azar;
    Volcado m_v;
    std::size_t m_colocadas = 0;
};

// Marks every resource whose key occurs in `bytes`. Keys all start with
// kMarca, so only the places where it occurs need a look.
class Buscador {
public:
    explicit Buscador(const std::vector<Recurso>& recursos)
    {
        for (std::size_t i = 0; i < recursos.size(); ++i) {
            m_porClave[recursos[i].clave].push_back(i);
            m_largos.push_back(recursos[i].clave.size());
        }
        std::sort(m_largos.begin(), m_largos.end());
        m_largos.erase(std::unique(m_largos.begin(), m_largos.end()), m_largos.end());
        m_usado.assign(recursos.size(), false);
    }

    void buscar(std::string_view bytes)
    {
        for (std::size_t p = bytes.find(kMarca); p != std::string_view::npos; p = bytes.find(kMarca, p + 1)) {
            for (std::size_t largo : m_largos) {
                if (p + largo > bytes.size())
                    break;
                auto it = m_porClave.find(std::string(bytes.substr(p, largo)));
                if (it == m_porClave.end())
                    continue;
                for (std::size_t i : it->second)
                    m_usado[i] = true;
            }
        }
    }

    bool Usado(std::size_t i) const { return m_usado[i]; }

private:
    std::unordered_map<std::string, std::vector<std::size_t>> m_porClave;
    std::vector<std::size_t> m_largos;
    std::vector<bool> m_usado;
};

fs::path Ruta(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Texto(const fs::path& ruta)
{
    const std::u8string utf8 = ruta.u8string();
    return std::string(utf8.begin(), utf8.end());
}

void Escribir(const fs::path& ruta, std::string_view bytes)
{
    std::ofstream archivo(ruta, std::ios::binary | std::ios::trunc);
    archivo.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!archivo)
        throw std::runtime_error("no se pudo escribir " + Texto(ruta));
}

struct Opciones {
    fs::path destino;
    long recursos = 40000;
    long archivos = 1000;
    double mb = 200.0;
    double usados = 0.5;
    std::uint64_t semilla = 1;
};

[[noreturn]] void Uso(const std::string& motivo)
{
    if (!motivo.empty())
        std::cerr << "generador: " << motivo << "\n";
    std::cerr << "uso: generador DEST [--recursos N] [--archivos F] [--mb M] [--usados P] [--semilla S]\n"
                 "  escribe DEST/Generado: un proyecto de RPG Maker XP de prueba y\n"
                 "  DEST/Generado/expected-unused.txt con los recursos que ningun dato nombra\n"
                 "  (por omision: 40000 recursos, 1000 archivos, 200 MB, 0.5 usados, semilla 1)\n";
    std::exit(2);
}

Opciones LeerOpciones(int argc, char** argv)
{
    Opciones opciones;
    bool conDestino = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help")
            Uso("");
        if (arg.rfind("--", 0) != 0) {
            if (conDestino)
                Uso("sobra " + arg);
            opciones.destino = fs::path(arg);  // the system's own encoding, as it came
            conDestino = true;
            continue;
        }
        if (i + 1 >= argc)
            Uso("falta el valor de " + arg);
        const std::string valor = argv[++i];
        try {
            std::size_t usado = 0;
            if (arg == "--recursos")
                opciones.recursos = std::stol(valor, &usado);
            else if (arg == "--archivos")
                opciones.archivos = std::stol(valor, &usado);
            else if (arg == "--mb")
                opciones.mb = std::stod(valor, &usado);
            else if (arg == "--usados")
                opciones.usados = std::stod(valor, &usado);
            else if (arg == "--semilla")
                opciones.semilla = std::stoull(valor, &usado);
            else
                Uso("opcion desconocida " + arg);
            if (usado != valor.size())
                throw std::invalid_argument(valor);
        } catch (const std::logic_error&) {
            Uso("valor no valido para " + arg + ": " + valor);
        }
    }
    if (!conDestino)
        Uso("falta DEST");
    if (opciones.recursos < 0 || opciones.archivos < 0 || !(opciones.mb >= 0.0) || !(opciones.usados >= 0.0)
        || opciones.usados > 1.0)
        Uso("valores fuera de rango");
    return opciones;
}

int Generar(const Opciones& opciones)
{
    const fs::path raiz = opciones.destino / "Generado";
    // Only ever replaces a project this program wrote.
    if (fs::exists(raiz)) {
        if (!fs::exists(raiz / "expected-unused.txt"))
            throw std::runtime_error(Texto(raiz) + " existe y no parece generado por este programa");
        fs::remove_all(raiz);
    }
    fs::create_directories(raiz / "Data");
    Escribir(raiz / "Game.rxproj", "RPGXP 1.02");
    for (const Carpeta& carpeta : kCarpetas)
        fs::create_directories(raiz / Ruta(carpeta.ruta));

    Azar azar(opciones.semilla);
    const std::vector<Recurso> recursos = Recursos(opciones.recursos, azar);
    std::vector<ArchivoDatos> archivos = ArchivosDatos(opciones.archivos);
    RepartirTamanos(archivos, opciones.mb * 1e6, azar);

    // The named resources: a seeded shuffle's first share, each named in one
    // to three files, picked half uniformly and half by size, as large maps
    // name more things.
    if (!archivos.empty()) {
        std::vector<std::size_t> orden(recursos.size());
        for (std::size_t i = 0; i < orden.size(); ++i)
            orden[i] = i;
        for (std::size_t i = orden.size(); i > 1; --i)
            std::swap(orden[i - 1], orden[azar.Hasta(i)]);
        const auto nombrados = static_cast<std::size_t>(opciones.usados * static_cast<double>(recursos.size()) + 0.5);
        std::vector<double> acumulado;
        double suma = 0.0;
        for (const ArchivoDatos& archivo : archivos)
            acumulado.push_back(suma += static_cast<double>(archivo.objetivo));
        auto destino = [&]() -> std::size_t {
            for (;;) {
                std::size_t i = azar.Prob(0.5)
                    ? azar.Hasta(archivos.size())
                    : static_cast<std::size_t>(std::upper_bound(acumulado.begin(), acumulado.end(), azar.Real() * suma)
                                               - acumulado.begin());
                i = std::min(i, archivos.size() - 1);
                if (archivos[i].tipo != Tipo::InfoMapas || archivos.size() == 1)
                    return i;
            }
        };
        for (std::size_t k = 0; k < nombrados; ++k) {
            const long veces = azar.Prob(0.8) ? 1 : azar.Prob(0.75) ? 2 : 3;
            for (long v = 0; v < veces; ++v)
                archivos[destino()].claves.push_back(static_cast<int>(orden[k]));
        }
    }

    for (const Recurso& recurso : recursos)
        Escribir(raiz / Ruta(kCarpetas[recurso.carpeta].ruta) / Ruta(recurso.nombre), "");

    Buscador buscador(recursos);
    std::size_t totalBytes = 0, mayorBytes = 0;
    std::string mayorNombre;
    for (const ArchivoDatos& archivo : archivos) {
        const std::string bytes = Escritor(archivo, recursos, azar).Escribir();
        buscador.buscar(bytes);
        Escribir(raiz / "Data" / Ruta(archivo.nombre), bytes);
        totalBytes += bytes.size();
        if (bytes.size() > mayorBytes) {
            mayorBytes = bytes.size();
            mayorNombre = archivo.nombre;
        }
    }

    std::vector<const Recurso*> sinUsar;
    for (std::size_t i = 0; i < recursos.size(); ++i)
        if (!buscador.Usado(i))
            sinUsar.push_back(&recursos[i]);
    std::sort(sinUsar.begin(), sinUsar.end(), [](const Recurso* a, const Recurso* b) {
        return a->carpeta != b->carpeta ? a->carpeta < b->carpeta : a->nombre < b->nombre;
    });
    std::string lista;
    for (const Recurso* recurso : sinUsar)
        lista += std::string(kCarpetas[recurso->carpeta].ruta) + "/" + recurso->nombre + "\n";
    Escribir(raiz / "expected-unused.txt", lista);

    char resumen[400];
    std::snprintf(resumen, sizeof resumen,
                  "%zu recursos (%zu sin usar), %zu archivos de datos, %.1f MB de datos, el mayor %s (%.2f MB)",
                  recursos.size(), sinUsar.size(), archivos.size(), static_cast<double>(totalBytes) / 1e6,
                  mayorNombre.empty() ? "-" : mayorNombre.c_str(), static_cast<double>(mayorBytes) / 1e6);
    std::cout << resumen << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const Opciones opciones = LeerOpciones(argc, argv);
    try {
        return Generar(opciones);
    } catch (const std::exception& error) {
        std::cerr << "generador: " << error.what() << "\n";
        return 1;
    }
}
