// Writes a folder of bad and unusual picture files, as users' tile folders
// hold them: valid pictures in every PNG layout, truncated and mutated
// copies, files wrong in one exact way, files of other kinds under a .png
// name, and entries that are not files at all. Nothing is downloaded; the
// same seed gives the same corpus.
#pragma once

#include "PngBytes.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <vector>

namespace hostile {

// What a file must do when the program meets it.
enum class Expect {
    Valid,  // listed, loadable, its pixels as written
    Bad,    // skipped by the listing, refused by the loader
    Either, // may decode or not, but listing and loading must agree
};

struct CorpusFile {
    QByteArray name; // raw file name bytes: may not be UTF-8
    QString kind;    // "valid", "truncated", "bitflip", "crasher", ...
    Expect expect = Expect::Either;
    QImage expected; // for Valid files: the pixels a reader must give (ARGB32)
};

struct CorpusOptions {
    uint32_t seed = 1;
    int mutants = 2000;     // bit flips, byte flips and CRC-fixed mutations
    int truncationStep = 1; // cut every n-th length of the truncated bases
    bool specials = true;   // folder, links, named pipe, long and non-UTF-8 names
};

// A picture of four quarters and a diagonal in a few colours, so that every
// PNG layout, palettes included, can hold it exactly; with alpha one quarter
// is half transparent and one fully.
QImage SourcePicture(int width, int height, bool alpha, uint32_t variant);

// Writes the corpus into `folder` (which must exist and be empty) and
// returns what was written, in the order written.
std::vector<CorpusFile> WriteCorpus(const QString& folder, const CorpusOptions& options);

// The full path of a raw file name inside a folder, as the listing spells it.
QString PathOf(const QString& folder, const QByteArray& name);

// A temporary folder for a corpus, emptied of every odd name (links, pipes,
// names Qt cannot spell) before Qt removes it.
class CorpusDir : public QTemporaryDir {
public:
    ~CorpusDir();
};

} // namespace hostile
