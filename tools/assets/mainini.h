#pragma once

#include <QString>

// main.ini as shipped: every key at its default, encoded keys hex-XOR encoded.
namespace mainini {

QString text();
bool write(const QString &path, QString *error);

} // namespace mainini
