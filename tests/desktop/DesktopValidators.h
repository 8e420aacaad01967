// The desktop's own validators, run on the files the program and the build
// write; the one runner every desktop test uses.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace desktoptest {

// What a validator (`tool` on PATH, run with `arguments`) objects to: empty
// when it exits with 0 and prints no warning or error (appstreamcli's
// pedantic notes are neither; with `warningsFail` false only the exit code
// counts), else its exit code and output. `installed` tells whether the tool
// was found; a missing one objects to nothing.
inline QString ValidatorComplaints(const QString& tool, const QStringList& arguments,
                                   bool* installed = nullptr, bool warningsFail = true)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (installed)
        *installed = !program.isEmpty();
    if (program.isEmpty())
        return {};
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(120000))
        return tool + QStringLiteral(" did not finish");
    const QString output = QString::fromLocal8Bit(p.readAll());
    const QRegularExpression complaint(QStringLiteral("^\\s*[WE]:|warning|error"),
                                       QRegularExpression::MultilineOption);
    const bool ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return ok && !(warningsFail && complaint.match(output).hasMatch())
               ? QString()
               : QStringLiteral("exit code %1:\n").arg(p.exitCode()) + output;
}

// desktop-file-validate's complaints about the desktop entry at `path`. The
// registration's own entries repeat the name as the comment where no
// description is given, which it warns about: there only errors count.
inline QString DesktopEntryComplaints(const QString& path, bool* installed = nullptr,
                                      bool warningsFail = true)
{
    return ValidatorComplaints(QStringLiteral("desktop-file-validate"), {path}, installed,
                               warningsFail);
}

} // namespace desktoptest
