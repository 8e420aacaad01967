// The files the monkey works with, all in one temporary folder: small tile
// sets of every picture layout, a folder of hostile pictures, a folder for
// exports, and the hostile texts the Options dialog is fed.
#pragma once

#include "HostileCorpus.h"
#include <QString>
#include <QStringList>

namespace monkey {

class MonkeyWorld {
public:
    MonkeyWorld();
    bool IsValid() const { return root_.isValid(); }

    QString Floors() const { return Path("Floors"); }
    QString Walls() const { return Path("Walls"); }
    QString Objects() const { return Path("Objects"); }
    QString Hostile() const { return Path("Hostile"); }
    // Thousands of generated pictures with unreadable ones among them.
    QString Library() const { return Path("Library"); }
    QString Exports() const { return Path("Exports"); }
    QString Config() const { return Path("config"); }

    // Texts for the shadow fields: numbers at and past every bound, and
    // things that only look like numbers.
    static const QStringList& HostileNumbers();
    // Folder texts: the real sets, the hostile folder, missing folders,
    // files, and texts that are no path at all.
    QStringList FolderTexts() const;
    // Where an export may be asked to go: new and existing names, and paths
    // that cannot be written.
    QStringList ExportPaths() const;

private:
    QString Path(const char* sub) const { return root_.filePath(QLatin1String(sub)); }
    void WriteTileSets();

    hostile::CorpusDir root_;
};

} // namespace monkey
