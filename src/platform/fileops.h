#pragma once

#include <QString>

namespace qm {

// File copies of the commands (sound files, the applet runtime, preview
// files). Tests may record them or make them fail.
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual bool exists(const QString &path) const = 0;
    // Copies `source` over `target`, replacing it. False when the copy did
    // not happen; a copy of a file onto itself is skipped and reported false.
    virtual bool copyFile(const QString &source, const QString &target) = 0;
};

// The real file system.
class LocalFileOps : public FileOps {
public:
    bool exists(const QString &path) const override;
    bool copyFile(const QString &source, const QString &target) override;
};

// True when both names lead to one file (links and "." / ".." included).
bool isSameFile(const QString &a, const QString &b);

} // namespace qm
