#pragma once
// What the user is told when a picture cannot be shown: the file's name,
// then the loader's reason ("coffee.jpg could not be read: the file is
// damaged.").

#include <QString>

class PackagePictures;
namespace notify {
class Prompt;
}

QString notReadMessage(const QString& fileName, const QString& reason);

// Tells `prompt` of every picture `pictures` could not load, including those
// only the full decode on its worker found wrong.
void tellLoadErrors(PackagePictures& pictures, notify::Prompt& prompt);
