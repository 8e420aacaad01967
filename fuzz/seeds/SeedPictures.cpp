// Writes the picture target's seed corpus: a small slice of the hostile
// generator's output (every valid layout, the libpng crashers, a few
// mutants and truncations), each file named by its content's hash.
#include "HostileCorpus.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    hostile::CorpusDir scratch;
    hostile::CorpusOptions options;
    options.seed = 20261207;
    options.mutants = 40;
    options.truncationStep = 60;
    options.specials = false;
    hostile::WriteCorpus(scratch.path(), options);
    int written = 0;
    QDirIterator files(scratch.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile in(files.next());
        if (!in.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = in.readAll();
        QFile seed(
            out + QLatin1Char('/') +
            QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex()));
        if (seed.open(QIODevice::WriteOnly))
            written += seed.write(bytes) == bytes.size();
    }
    std::printf("%d seeds\n", written);
    return 0;
}
