// The doors through which the outside reaches the program, each as one
// function that takes arbitrary bytes, sends them through the program's own
// code for that door and returns the broken rules (empty when none broke).
// The fuzz targets call them with what libFuzzer makes; the ordinary test
// suite replays the seed corpora and every input that ever failed. Memory
// faults are left to the sanitizers.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace halvorn::doors {

// The bytes as a picture file: the chunk walk, the decoder, a palette
// thumbnail and an oriented, scaled draw of whatever decoded.
QStringList PictureDoor(QByteArrayView bytes);

// The bytes as a text typed into the Options dialog or found in the
// settings file: every number reading, the checks the dialog applies, and
// what the store gives back at the next start.
QStringList SettingsDoor(QByteArrayView bytes);

// The bytes as file names (split at NUL bytes) in a tile folder: the
// listing, its order, display names and the status line.
QStringList NamesDoor(QByteArrayView bytes);

// The bytes as the program's path: the desktop entry and MIME package that
// registration writes for it, held to the desktop entry rules.
QStringList RegistrationDoor(QByteArrayView bytes);

// A private folder for the files the doors write; made at first use and
// removed at exit. XDG_CONFIG_HOME must point into it before the first
// settings access (see PrepareProcess).
QString ScratchFolder();

// Points the settings store at the scratch folder; call before anything
// else touches settings.
void PrepareProcess();

} // namespace halvorn::doors
