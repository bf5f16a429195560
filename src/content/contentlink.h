#pragma once

#include "shell/apppaths.h"

#include <QString>

// Handouts, guide and help entries point either to a page under the program's data/ folder or to
// a web address. resolve() decides what showing one means on this machine right now.
namespace content {

struct Link
{
    QString target; // file name under data/, or a web address
    bool local = false;
};

struct Destination
{
    enum class Kind {
        LocalFile,  // location: absolute path of an existing file under data/
        WebAddress, // location: the address as stored
        Missing,    // location: the page as the learner should read it ("data/x.htm")
        Offline,    // a web address while the computer is offline
    };
    Kind kind = Kind::Missing;
    QString location;
};

// A local target must name an existing file inside data/ (a name that climbs out of it counts as
// missing). A web address is refused only when onlineRequired and the computer is offline.
Destination resolve(const Link &link, const AppPaths &paths, bool online, bool onlineRequired);

// Absolute path of data/relative, or empty when relative leaves data/.
QString dataFile(const AppPaths &paths, const QString &relative);

} // namespace content
