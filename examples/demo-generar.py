"""Rebuilds the binary files of the demo project in demo/ beside this script.

Standard library only, and deterministic: running it again gives the same
bytes. LEEME.txt is written by hand and lists what the analysis should leave
as unused; keep it in step with the data built below.

    python3 examples/demo-generar.py
"""

import io
import os
import struct
import wave
import zlib

DEMO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "demo")


def escribir(relativa, datos):
    ruta = os.path.join(DEMO, *relativa.split("/"))
    os.makedirs(os.path.dirname(ruta), exist_ok=True)
    with open(ruta, "wb") as archivo:
        archivo.write(datos)


# --- PNG -------------------------------------------------------------------

def png(ancho, alto, pixel):
    """An 8-bit RGBA PNG; pixel(x, y) gives (r, g, b, a)."""
    filas = bytearray()
    for y in range(alto):
        filas.append(0)  # no filter
        for x in range(ancho):
            filas.extend(pixel(x, y))

    def trozo(tipo, datos):
        return (struct.pack(">I", len(datos)) + tipo + datos
                + struct.pack(">I", zlib.crc32(tipo + datos) & 0xFFFFFFFF))

    cabecera = struct.pack(">IIBBBBB", ancho, alto, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + trozo(b"IHDR", cabecera)
            + trozo(b"IDAT", zlib.compress(bytes(filas), 9)) + trozo(b"IEND", b""))


def dentro_circulo(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


TRANSPARENTE = (0, 0, 0, 0)


def guerrero(x, y):
    if dentro_circulo(x, y, 16, 9, 6):
        return (240, 200, 160, 255)              # face
    if 11 <= x <= 21 and 16 <= y <= 36:
        return (40, 80, 200, 255)                # tunic
    if (12 <= x <= 14 or 18 <= x <= 20) and 37 <= y <= 46:
        return (90, 60, 30, 255)                 # legs
    if x == 25 and 10 <= y <= 34:
        return (200, 200, 210, 255)              # sword
    if 23 <= x <= 27 and y == 30:
        return (150, 110, 40, 255)               # hilt
    return TRANSPARENTE


def esqueleto(x, y):
    if dentro_circulo(x, y, 16, 12, 9):
        if dentro_circulo(x, y, 12, 11, 2) or dentro_circulo(x, y, 20, 11, 2):
            return (20, 20, 20, 255)             # eyes
        return (230, 230, 215, 255)
    if 14 <= x <= 18 and 21 <= y <= 38 and y % 3 != 0:
        return (230, 230, 215, 255)              # spine
    return TRANSPARENTE


def fin_del_juego(x, y):
    if abs(x - y * 64 // 48) <= 2 or abs((63 - x) - y * 64 // 48) <= 2:
        return (200, 20, 20, 255)
    return (10, 10, 10 + y, 255)


def espada(x, y):
    if x == y and 3 <= x <= 17:
        return (210, 210, 220, 255)
    if x + y == 34 and 14 <= x <= 20:
        return (160, 110, 30, 255)               # guard
    if x == y and 18 <= x <= 21:
        return (110, 70, 20, 255)                # grip
    return TRANSPARENTE


def pocion(x, y):
    if 10 <= x <= 13 and 3 <= y <= 8:
        return (150, 100, 60, 255)               # cork
    if dentro_circulo(x, y, 12, 15, 7):
        return (220, 40, 60, 255) if y >= 13 else (200, 220, 240, 255)
    return TRANSPARENTE


def castillo(noche):
    cielo = (20, 20, 70) if noche else (120, 180, 240)
    muro = (70, 70, 90) if noche else (170, 160, 150)

    def pixel(x, y):
        if noche and (x * 7 + y * 13) % 53 == 0 and y < 20:
            return (255, 255, 200, 255)          # stars
        if y >= 42:
            return (20, 60, 20, 255) if noche else (60, 160, 60, 255)
        if 16 <= x <= 47 and y >= 24:
            if 28 <= x <= 35 and y >= 34:
                return (40, 25, 10, 255)         # gate
            return muro + (255,)
        for torre in (10, 53):
            if torre - 5 <= x <= torre + 5 and y >= 14:
                if y < 17 and (x - torre) % 3 == 0:
                    return cielo + (255,)        # battlements
                return muro + (255,)
        return cielo + (255,)
    return pixel


def dragon(x, y):
    if dentro_circulo(x, y, 22, 20, 9):
        return (40, 150, 60, 255)                # body
    if dentro_circulo(x, y, 38, 10, 5):
        if x == 39 and y == 9:
            return (250, 220, 0, 255)            # eye
        return (40, 150, 60, 255)                # head
    if 31 <= x <= 35 and 11 <= y <= 16 and x - 31 >= (y - 11) // 2:
        return (40, 150, 60, 255)                # neck
    if 8 <= x <= 22 and 3 <= y <= 12 and y >= 12 - (x - 8) * 9 // 14:
        return (200, 60, 40, 255)                # wing
    return TRANSPARENTE


def mapa(x, y):
    tierra = dentro_circulo(x, y, 22, 22, 16) or dentro_circulo(x, y, 44, 28, 13)
    if tierra and dentro_circulo(x, y, 44, 28, 3):
        return (200, 40, 40, 255)                # the capital
    if tierra:
        return (230, 215, 160, 255) if (x + y) % 9 == 0 else (90, 170, 80, 255)
    return (40, 90, 190, 255)


def titulo(x, y):
    if dentro_circulo(x, y, 60, 18, 9):
        return (255, 220, 90, 255)               # sun
    if y > 40 - (x % 20 if (x // 20) % 2 == 0 else 20 - x % 20):
        return (60, 40, 90, 255)                 # mountains
    return (250 - y * 2, 140 + y, 90 + y * 2, 255)


def marco(color):
    def pixel(x, y):
        borde = min(x, y, 31 - x, 31 - y)
        if borde == 0:
            return (250, 250, 250, 255)
        if borde == 1:
            return tuple(c // 2 for c in color) + (255,)
        return color + (200,)
    return pixel


def borrador(x, y):
    return (60, 60, 60, 255) if (x * 3 + y * 5) % 7 == 0 else (235, 235, 225, 255)


# --- WAV -------------------------------------------------------------------

FRECUENCIA = 22050


def wav(muestras):
    """Mono, 16-bit; muestras are integers in -32768..32767."""
    salida = io.BytesIO()
    with wave.open(salida, "wb") as archivo:
        archivo.setnchannels(1)
        archivo.setsampwidth(2)
        archivo.setframerate(FRECUENCIA)
        archivo.writeframes(b"".join(struct.pack("<h", m) for m in muestras))
    return salida.getvalue()


def triangulo(fase):
    """Integer triangle wave; fase in 0..65535 gives -16384..16384."""
    return (fase - 16384) if fase < 32768 else (49152 - fase)


def tono(hz, duracion, volumen):
    """Integer arithmetic only, so every platform writes the same bytes."""
    n = FRECUENCIA * duracion // 1000
    paso = hz * 65536 // FRECUENCIA
    return [triangulo((i * paso) % 65536) * volumen * (n - i) // (n * 100) for i in range(n)]


def cursor():
    return tono(1760, 60, 90)


def puerta():
    semilla, muestras = 12345, []
    n = FRECUENCIA // 4
    for i in range(n):
        semilla = (semilla * 1103515245 + 12345) % 2147483648
        ruido = (semilla >> 15) % 20000 - 10000
        muestras.append(ruido * (n - i) // n)
    return muestras


def cancion_del_bosque():
    muestras = []
    for hz in (392, 440, 494, 523, 494, 440, 392):
        muestras += tono(hz, 220, 70)
    return muestras


# --- MIDI ------------------------------------------------------------------

def cantidad_variable(n):
    bytes_ = [n & 0x7F]
    n >>= 7
    while n:
        bytes_.insert(0, 0x80 | (n & 0x7F))
        n >>= 7
    return bytes(bytes_)


def midi(instrumento, notas, pulso=96):
    """Format 0, one track; notas are (key, length in ticks)."""
    pista = bytearray()
    pista += b"\x00\xff\x51\x03\x07\xa1\x20"                 # 120 bpm
    pista += b"\x00" + bytes([0xC0, instrumento])
    for nota, largo in notas:
        pista += b"\x00" + bytes([0x90, nota, 100])
        pista += cantidad_variable(largo) + bytes([0x80, nota, 64])
    pista += b"\x00\xff\x2f\x00"
    return (b"MThd" + struct.pack(">IHHH", 6, 0, 1, pulso)
            + b"MTrk" + struct.pack(">I", len(pista)) + bytes(pista))


# --- Ogg Vorbis --------------------------------------------------------------
# A silent Ogg Vorbis stream, written by hand: the smallest legal setup (one
# two-entry codebook, a floor 1 with no partitions, an empty residue) and
# audio packets whose only channel is marked unused, which decoders render as
# silence.

class Bits:
    """Vorbis packs bits least significant first."""

    def __init__(self):
        self.bytes = bytearray()
        self.usados = 0

    def poner(self, valor, cuantos):
        for i in range(cuantos):
            if self.usados % 8 == 0:
                self.bytes.append(0)
            if (valor >> i) & 1:
                self.bytes[-1] |= 1 << (self.usados % 8)
            self.usados += 1


def vorbis_paquetes(frecuencia, paquetes_audio):
    identificacion = (b"\x01vorbis" + struct.pack("<IBIiii", 0, 1, frecuencia, 0, 0, 0)
                      + bytes([(11 << 4) | 8, 1]))      # blocks of 256 and 2048 samples
    vendedor = b"Mondrix demo"
    comentario = b"TITLE=Silencio"
    comentarios = (b"\x03vorbis" + struct.pack("<I", len(vendedor)) + vendedor
                   + struct.pack("<II", 1, len(comentario)) + comentario + b"\x01")
    b = Bits()
    b.poner(0, 8)                                      # one codebook
    b.poner(0x564342, 24); b.poner(1, 16); b.poner(2, 24)
    b.poner(0, 1); b.poner(0, 1)                       # not ordered, not sparse
    b.poner(0, 5); b.poner(0, 5)                       # two entries one bit long
    b.poner(0, 4)                                      # no lookup
    b.poner(0, 6); b.poner(0, 16)                      # time domain placeholder
    b.poner(0, 6); b.poner(1, 16)                      # one floor, type 1
    b.poner(0, 5); b.poner(1, 2); b.poner(7, 4)        # no partitions, multiplier 2, range 128
    b.poner(0, 6); b.poner(0, 16)                      # one residue, type 0
    b.poner(0, 24); b.poner(128, 24); b.poner(31, 24)  # begin, end, partition size 32
    b.poner(0, 6); b.poner(0, 8)                       # one classification, classbook 0
    b.poner(0, 3); b.poner(0, 1)                       # no cascade books
    b.poner(0, 6); b.poner(0, 16)                      # one mapping, type 0
    b.poner(0, 1); b.poner(0, 1); b.poner(0, 2)        # one submap, no coupling
    b.poner(0, 8); b.poner(0, 8); b.poner(0, 8)        # submap: floor 0, residue 0
    b.poner(0, 6); b.poner(0, 1)                       # one mode, short blocks
    b.poner(0, 16); b.poner(0, 16); b.poner(0, 8)      # window, transform, mapping 0
    b.poner(1, 1)                                      # framing
    configuracion = b"\x05vorbis" + bytes(b.bytes)
    audio = [b"\x00"] * paquetes_audio                  # audio packet, channel unused
    return identificacion, comentarios, configuracion, audio


def ogg_crc(datos):
    crc = 0
    for byte in datos:
        crc ^= byte << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7) if crc & 0x80000000 else (crc << 1)
            crc &= 0xFFFFFFFF
    return crc


def ogg_pagina(paquetes, tipo, granulo, serie, secuencia):
    segmentos = bytearray()
    for paquete in paquetes:
        segmentos += b"\xff" * (len(paquete) // 255) + bytes([len(paquete) % 255])
    cabecera = (b"OggS" + struct.pack("<BBqIII", 0, tipo, granulo, serie, secuencia, 0)
                + bytes([len(segmentos)]) + bytes(segmentos))
    pagina = bytearray(cabecera + b"".join(paquetes))
    pagina[22:26] = struct.pack("<I", ogg_crc(pagina))
    return bytes(pagina)


def ogg_silencio(decimas):
    frecuencia = 22050
    # After the first, each short block adds 128 samples.
    paquetes = frecuencia * decimas // 10 // 128 + 1
    identificacion, comentarios, configuracion, audio = vorbis_paquetes(frecuencia, paquetes)
    serie = 0x4D6F6E64
    return (ogg_pagina([identificacion], 0x02, 0, serie, 0)
            + ogg_pagina([comentarios, configuracion], 0x00, 0, serie, 1)
            + ogg_pagina(audio, 0x04, (paquetes - 1) * 128, serie, 2))


# --- Ruby Marshal 4.8 ------------------------------------------------------

class Marshal:
    """What Ruby's Marshal.dump writes, for the types the engine saves."""

    def __init__(self):
        self.b = bytearray(b"\x04\x08")
        self.simbolos = {}

    def largo(self, n):
        if n == 0:
            self.b.append(0)
        elif 0 < n < 123:
            self.b.append(n + 5)
        elif -124 < n < 0:
            self.b.append((n - 5) & 0xFF)
        else:
            bytes_ = []
            while True:
                bytes_.append(n & 0xFF)
                n >>= 8
                if n == 0 or n == -1:
                    break
            self.b.append(len(bytes_) if n == 0 else 256 - len(bytes_))
            self.b.extend(bytes_)

    def simbolo(self, nombre):
        if nombre in self.simbolos:
            self.b += b";"
            self.largo(self.simbolos[nombre])
        else:
            self.simbolos[nombre] = len(self.simbolos)
            datos = nombre.encode("utf-8")
            self.b += b":"
            self.largo(len(datos))
            self.b += datos

    def valor(self, v):
        if v is None:
            self.b += b"0"
        elif v is True:
            self.b += b"T"
        elif v is False:
            self.b += b"F"
        elif isinstance(v, int):
            self.b += b"i"
            self.largo(v)
        elif isinstance(v, str):
            datos = v.encode("utf-8")
            self.b += b'I"'
            self.largo(len(datos))
            self.b += datos
            self.largo(1)
            self.simbolo("E")
            self.b += b"T"
        elif isinstance(v, list):
            self.b += b"["
            self.largo(len(v))
            for x in v:
                self.valor(x)
        elif isinstance(v, dict):
            self.b += b"{"
            self.largo(len(v))
            for k, x in v.items():
                self.valor(k)
                self.valor(x)
        elif isinstance(v, Objeto):
            self.b += b"o"
            self.simbolo(v.clase)
            self.largo(len(v.variables))
            for nombre, x in v.variables:
                self.simbolo("@" + nombre)
                self.valor(x)
        elif isinstance(v, Tabla):
            datos = v.bytes()
            self.b += b"u"
            self.simbolo("Table")
            self.largo(len(datos))
            self.b += datos
        else:
            raise TypeError(v)


class Objeto:
    def __init__(self, clase, **variables):
        self.clase = clase
        self.variables = list(variables.items())


class Tabla:
    """The engine's Table: dimensions, then 16-bit values."""

    def __init__(self, x, y=1, z=1, valor=lambda x, y, z: 0):
        self.dims = (x, y, z)
        self.valor = valor

    def bytes(self):
        x, y, z = self.dims
        dimensiones = 1 if y == 1 and z == 1 else 2 if z == 1 else 3
        datos = struct.pack("<5i", dimensiones, x, y, z, x * y * z)
        for k in range(z):
            for j in range(y):
                for i in range(x):
                    datos += struct.pack("<h", self.valor(i, j, k))
        return datos


def volcar(objeto):
    m = Marshal()
    m.valor(objeto)
    return bytes(m.b)


def sonido(nombre, volumen=100, tono_=100):
    return Objeto("RPG::AudioFile", name=nombre, volume=volumen, pitch=tono_)


def comando(codigo, parametros, sangria=0):
    return Objeto("RPG::EventCommand", code=codigo, indent=sangria, parameters=parametros)


def mostrar_imagen(numero, nombre):
    return comando(231, [numero, nombre, 0, 0, 160, 120, 100, 100, 255, 0])


def evento(id_, nombre, x, y, personaje, lista):
    pagina = Objeto(
        "RPG::Event::Page",
        condition=Objeto("RPG::Event::Page::Condition", switch1_valid=False, switch2_valid=False,
                         variable_valid=False, self_switch_valid=False, switch1_id=1,
                         switch2_id=1, variable_id=1, variable_value=0, self_switch_ch="A"),
        graphic=Objeto("RPG::Event::Page::Graphic", tile_id=0, character_name=personaje,
                       character_hue=0, direction=2, pattern=0, opacity=255, blend_type=0),
        move_type=0, move_speed=3, move_frequency=3,
        move_route=Objeto("RPG::MoveRoute", repeat=True, skippable=False,
                          list=[Objeto("RPG::MoveCommand", code=0, parameters=[])]),
        walk_anime=True, step_anime=False, direction_fix=False, through=False,
        always_on_top=False, trigger=0, list=lista + [comando(0, [])])
    return Objeto("RPG::Event", id=id_, name=nombre, x=x, y=y, pages=[pagina])


def actores():
    aluxes = Objeto(
        "RPG::Actor", id=1, name="Aluxes", class_id=1, initial_level=1, final_level=99,
        exp_basis=30, exp_inflation=30, character_name="001-Fighter01", character_hue=0,
        battler_name="001-Fighter01", battler_hue=0,
        parameters=Tabla(6, 100, valor=lambda i, j, k: 500 + 10 * j + 5 * i),
        weapon_id=1, armor1_id=0, armor2_id=0, armor3_id=0, armor4_id=0,
        weapon_fix=False, armor1_fix=False, armor2_fix=False, armor3_fix=False, armor4_fix=False)
    return [None, aluxes]


def sistema():
    vacio = sonido("")
    palabras = Objeto("RPG::System::Words", gold="Oro", hp="PV", sp="PE", str="Fuerza",
                      dex="Destreza", agi="Agilidad", int="Inteligencia", atk="Ataque",
                      pdef="Def. fis.", mdef="Def. mag.", weapon="Arma", armor1="Escudo",
                      armor2="Casco", armor3="Armadura", armor4="Accesorio", attack="Atacar",
                      skill="Habilidad", guard="Defender", item="Objeto", equip="Equipo")
    return Objeto(
        "RPG::System", magic_number=20240601, party_members=[1],
        elements=["", "Fuego", "Hielo", "Rayo"], switches=[None, "Puente reparado", ""],
        variables=[None, "Monedas del pozo", ""], windowskin_name="001-Blue01",
        title_name="Title", gameover_name="Gameover", battle_transition="",
        title_bgm=sonido("Tema del pueblo"), battle_bgm=sonido("001-Battle01"),
        battle_end_me=sonido("002-Victory01"), gameover_me=vacio,
        cursor_se=sonido("Cursor", 80), decision_se=sonido("Cursor", 80, 120),
        cancel_se=vacio, buzzer_se=vacio, equip_se=vacio, shop_se=vacio, save_se=vacio,
        load_se=vacio, battle_start_se=vacio, escape_se=vacio, actor_collapse_se=vacio,
        enemy_collapse_se=vacio, words=palabras, test_battlers=[], test_troop_id=1,
        start_map_id=1, start_x=9, start_y=7, battleback_name="", battler_name="",
        battler_hue=0, edit_map_id=1)


def mapa_pueblo():
    def baldosa(x, y, z):
        if z == 0:
            return 384 + (8 if (x + y) % 5 == 0 else 0)
        return 400 if z == 1 and x in (3, 16) and y in (3, 11) else 0

    cartel = evento(1, "Cartel", 9, 5, "", [
        comando(101, ["Bienvenido al pueblo de Mondrix."]),
        mostrar_imagen(1, "Castillo"),
        comando(101, ["El castillo del rey se ve desde aqui."]),
        comando(235, [1]),
    ])
    anciano = evento(2, "Anciano", 12, 8, "001-Fighter01", [
        comando(101, ["Dicen que un dragón duerme en la montaña..."]),
        comando(401, ["Mira este mapa, viajero."]),
        mostrar_imagen(2, "Mapa del reino"),
        comando(250, [sonido("Cursor", 80)]),
        comando(235, [2]),
        comando(121, [1, 1, 0]),
    ])
    return Objeto(
        "RPG::Map", tileset_id=1, width=20, height=15, autoplay_bgm=True,
        bgm=sonido("Tema del pueblo"), autoplay_bgs=True, bgs=sonido("Canción del bosque", 60),
        encounter_list=[], encounter_step=30, data=Tabla(20, 15, 3, baldosa),
        events={1: cartel, 2: anciano})


def informacion_mapas():
    return {1: Objeto("RPG::MapInfo", name="Pueblo", parent_id=0, order=1, expanded=False,
                      scroll_x=0, scroll_y=0)}


def main():
    escribir("Game.rxproj", b"RPGXP 1.02")

    escribir("Graphics/Battlers/001-Fighter01.png", png(32, 48, guerrero))
    escribir("Graphics/Battlers/051-Undead01.png", png(32, 40, esqueleto))
    escribir("Graphics/Gameovers/Gameover.png", png(64, 48, fin_del_juego))
    escribir("Graphics/Icons/001-Weapon01.png", png(24, 24, espada))
    escribir("Graphics/Icons/021-Potion01.png", png(24, 24, pocion))
    escribir("Graphics/Pictures/Castillo.png", png(64, 48, castillo(False)))
    escribir("Graphics/Pictures/Castillo de noche.png", png(64, 48, castillo(True)))
    escribir("Graphics/Pictures/Dragón.png", png(48, 32, dragon))
    escribir("Graphics/Pictures/Mapa del reino.png", png(64, 48, mapa))
    # Inside a sub-folder: the analysis does not look there.
    escribir("Graphics/Pictures/Bocetos/Borrador.png", png(16, 16, borrador))
    escribir("Graphics/Titles/Title.png", png(80, 60, titulo))
    escribir("Graphics/Windowskins/001-Blue01.png", png(32, 32, marco((40, 60, 160))))
    escribir("Graphics/Windowskins/002-Red01.png", png(32, 32, marco((160, 40, 40))))

    escribir("Audio/BGM/001-Battle01.mid", midi(48, [(57, 48), (60, 48), (64, 48), (69, 96), (67, 48), (64, 144)]))
    escribir("Audio/BGM/Tema del pueblo.mid", midi(24, [(67, 96), (64, 96), (65, 96), (62, 96), (60, 192)]))
    escribir("Audio/BGM/Silencio.ogg", ogg_silencio(10))
    escribir("Audio/ME/002-Victory01.mid", midi(56, [(60, 48), (64, 48), (67, 48), (72, 192)]))
    escribir("Audio/BGS/Canción del bosque.wav", wav(cancion_del_bosque()))
    escribir("Audio/SE/Cursor.wav", wav(cursor()))
    escribir("Audio/SE/Puerta.wav", wav(puerta()))

    escribir("Data/Actors.rxdata", volcar(actores()))
    escribir("Data/System.rxdata", volcar(sistema()))
    escribir("Data/Map001.rxdata", volcar(mapa_pueblo()))
    escribir("Data/MapInfos.rxdata", volcar(informacion_mapas()))


if __name__ == "__main__":
    main()
