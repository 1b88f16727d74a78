// Windows' rules for what its shell runs, kept apart from the Windows API so
// that every system (and Wine's users on them) can apply them.
#include "platform/Escritorio.h"

#include <QStringList>

using namespace Qt::StringLiterals;

const QString kPathextDeSiempre = u".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC"_s;

namespace {
// What runs however PATHEXT is set: a shorter PATHEXT changes what cmd
// searches for, not what the shell's "open" does. Besides what PATHEXT holds
// by default: what the shell runs, installs, imports or follows; ClickOnce
// applications, settings shortcuts that name a command, compiled help whose
// pages run scripts, packaged apps, web shortcuts and troubleshooting packs;
// and the scripts that Git for Windows, Python, Java, Perl, Ruby, AutoHotkey
// and AutoIt register to be run when opened.
const QStringList kSeEjecutan = kPathextDeSiempre.split(u';')
    + u".LNK .URL .SCR .MSI .MSP .PS1 .HTA .CPL .REG .PIF .JAR .APPLICATION .APPREF-MS .SETTINGCONTENT-MS .CHM"
      u" .APPX .APPXBUNDLE .MSIX .MSIXBUNDLE .APPINSTALLER .WEBSITE .DIAGCAB .JNLP"
      u" .SH .PY .PYW .PYZ .PYZW .PYC .PYO .PL .RB .RBW .TCL .AHK .AU3"_s.split(u' ');
}  // namespace

bool windowsLaEjecutaria(const QString& nombre, const QString& pathext)
{
    // The shell drops the dots and blanks a name ends in before it looks at
    // the extension.
    QString recortado = nombre;
    while (recortado.endsWith(u'.') || recortado.endsWith(u' '))
        recortado.chop(1);
    const qsizetype punto = recortado.lastIndexOf(u'.');
    if (punto < 0)
        return false;
    const QString extension = recortado.mid(punto);
    // A class identifier as extension ("x.{3050F4D8-…}") has the shell open
    // the file with whatever that class names, mshta among them.
    if (kSeEjecutan.contains(extension, Qt::CaseInsensitive) || extension.startsWith(u".{"_s))
        return true;
    for (const QString& entrada : pathext.split(u';')) {
        if (entrada.trimmed().compare(extension, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

std::optional<QString> lineaDelExplorador(const QString& explorador, const QString& ruta)
{
    QString sinPrefijo = ruta;
    if (sinPrefijo.startsWith(uR"(\\?\UNC\)"_s))
        sinPrefijo.replace(0, 8, uR"(\\)"_s);
    else if (sinPrefijo.startsWith(uR"(\\?\)"_s))
        sinPrefijo.remove(0, 4);
    // Explorer splits its arguments at commas outside quotes, and a '"' (which
    // no Windows name holds) would end the quoted path early.
    if (sinPrefijo.contains(u'"') || explorador.contains(u'"'))
        return std::nullopt;
    return u'"' + explorador + uR"(" /select,")"_s + sinPrefijo + u'"';
}
