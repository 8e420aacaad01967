#include "desktop/FileTypeDocuments.h"

#include "desktop/DesktopEntryEscaping.h"

namespace halvorn {

QByteArray MimePackageXml(const FileTypeEntry& entry, const FileTypeNames& names)
{
    // The rules leave the extension with a "." in it; the glob matches names
    // ending in it, exactly as the extension key matched before.
    const QString glob = QLatin1Char('*') + entry.extension;
    QString xml;
    xml += QLatin1String("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    xml += QLatin1String(
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");
    xml += QLatin1String("  <mime-type type=\"") + names.mimeType.toHtmlEscaped() +
           QLatin1String("\">\n");
    xml += QLatin1String("    <comment>") + entry.description.toHtmlEscaped() +
           QLatin1String("</comment>\n");
    xml += QLatin1String("    <icon name=\"") + names.iconName.toHtmlEscaped() +
           QLatin1String("\"/>\n");
    // Themes without our icon fall back to a plain document.
    xml += QLatin1String("    <generic-icon name=\"x-office-document\"/>\n");
    xml += QLatin1String("    <glob pattern=\"") + glob.toHtmlEscaped() + QLatin1String("\"/>\n");
    xml += QLatin1String("  </mime-type>\n");
    xml += QLatin1String("</mime-info>\n");
    return xml.toUtf8();
}

QByteArray DesktopEntryText(const FileTypeEntry& entry, const FileTypeNames& names)
{
    // A desktop entry has no escape for control characters other than line
    // breaks and tabs; a program path holding one cannot be written, and an
    // entry the desktop rejects is worse than none.
    const QString exec = ExecLineForProgram(entry.commandPath);
    for (const QChar c : exec) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return {};
    }
    QString text;
    text += QLatin1String("[Desktop Entry]\n");
    text += QLatin1String("Type=Application\n");
    text += QLatin1String("Name=") + EscapeDesktopString(entry.className) + QLatin1Char('\n');
    text += QLatin1String("Comment=") + EscapeDesktopString(entry.description) + QLatin1Char('\n');
    text += QLatin1String("Exec=") + exec + QLatin1Char('\n');
    text += QLatin1String("Icon=") + EscapeDesktopString(names.iconName) + QLatin1Char('\n');
    text += QLatin1String("MimeType=") + names.mimeType + QLatin1String(";\n");
    // The entry only opens documents: it is named after the document type,
    // so listing it in the application menu would show a second, oddly
    // named launcher. "Open With" lists still offer it.
    text += QLatin1String("NoDisplay=true\n");
    text += QLatin1String("Terminal=false\n");
    return text.toUtf8();
}

} // namespace halvorn
