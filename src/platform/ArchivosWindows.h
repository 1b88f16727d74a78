// What the file service offers on Windows alone: the form in which each
// Windows call is given a path, which reparse points lead elsewhere, and a
// text's exact bytes in a console's code page. Kept out of Archivos.h, which
// every system builds from, so that it declares nothing of one system's:
// ArchivosWindows.cpp defines these, and the tests that try them include this
// header on Windows only.
#pragma once

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <optional>
#include <string>

// Whether an entry with these attributes and reparse tag leads elsewhere: a
// link, a junction, a mount point (the tags that stand for another name).
// The reparse points by which OneDrive and other cloud services mark the
// folders and files they keep hold the entry itself.
bool llevaAOtroSitio(unsigned long atributos, unsigned long etiqueta);

// The form in which every Windows call of this service is given a path: an
// absolute path as "\\?\C:\..." (or "\\?\UNC\server\share\..."), which the
// file system takes as it stands, at any length, and without the cleaning by
// which the ordinary form drops a final dot or blank from a name (so that
// "a.png." would reach "a.png", or nothing). "." and ".." are resolved first,
// as the ordinary form does, and "/" made "\". A path already in that form,
// or relative, is given as it is. Never shown: messages name the ordinary form.
std::wstring rutaExtendida(const std::filesystem::path& ruta);

// The bytes of `texto` in code page `pagina` (65001, UTF-8, too) when every
// character has its own exact form there, read back as the same text; nothing
// when one has none. Windows would otherwise put a look-alike in its place
// ("best fit"): a fullwidth quote, "&", "%" or "^" that cmd then reads as the
// real one.
std::optional<QByteArray> enPaginaDeCodigos(const QString& texto, unsigned pagina);
