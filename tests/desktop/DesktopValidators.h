// The desktop's own validators, run on the files the program and the build
// write, and the one runner of programs every desktop test uses.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace desktoptest {

// A program's run: its exit code (-1 when it crashed or did not finish in
// two minutes) and its standard output and error together.
struct ProgramRun {
    int exitCode = -1;
    QString output;
};

// Runs `program` to its end, without the DESTDIR an install may have set.
inline ProgramRun RunProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DESTDIR"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

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
    const ProgramRun run = RunProgram(program, arguments);
    const QRegularExpression complaint(QStringLiteral("^\\s*[WE]:|warning|error"),
                                       QRegularExpression::MultilineOption);
    return run.exitCode == 0 && !(warningsFail && complaint.match(run.output).hasMatch())
               ? QString()
               : QStringLiteral("exit code %1:\n").arg(run.exitCode) + run.output;
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
