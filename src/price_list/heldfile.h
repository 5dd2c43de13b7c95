#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace kaldora::price_list {

// A new file this program is making, held open and locked from the moment
// it has a name until it is moved into place or removed. Every other start
// of either program leaves a locked file alone, so as long as the name
// still leads to this very file (isStillNamed), nobody else takes it away.
// Made by HeldFolder::createFile; removed by its destructor unless moved.
class HeldFile {
public:
    enum class Move { Moved, Taken, Failed };

    HeldFile() = default;
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    const QString& path() const { return m_path; }

    // The file's name in its folder still leads to the file held here.
    bool isStillNamed() const;
    // The held file begins with `bytes`: what was written under its name
    // reached this file and no other.
    bool startsWith(QByteArrayView bytes) const;
    // Gives the file the permissions of an ordinary document.
    bool makeReadable();
    // Sends the file's content to the disk.
    bool flush();
    // Gives the file the name `target`, never replacing what is there: a
    // file already there is reported as Taken and this one stays held.
    Move moveTo(const QString& target);

private:
    friend class HeldFolder;
    void release();

    QString m_path;
    QString m_name;
    // The open file and its folder: file descriptors on POSIX systems, a
    // file HANDLE on Windows (where the folder needs no handle here).
    std::intptr_t m_handle = -1;
    std::intptr_t m_folder = -1;
};

} // namespace kaldora::price_list
