// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cd_drive_lock.h"

#include "media/media_device.h"
#include "text/cp932_convert.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tobira {

namespace {

[[noreturn]] void refuse(const std::string& displayName, const char* reasonUtf8) {
    throw DeviceError(Utf8ToCp932("ＣＤドライブ【") + displayName +
                      Utf8ToCp932("】を開けません：") + Utf8ToCp932(reasonUtf8));
}

} // namespace

CdDriveLock::CdDriveLock(const std::string& device, const std::string& displayName)
    : device_(device) {
    // O_NONBLOCK: opening must not wait for a disc. O_EXCL on a block device fails with EBUSY
    // while another program holds it exclusively or it is mounted.
    fd_ = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_EXCL | O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        if (error == EBUSY)
            throw DeviceBusyError(Utf8ToCp932("ＣＤドライブ【") + displayName +
                                  Utf8ToCp932("】を開けません：他のプログラムが使用中です"));
        if (error == ENOENT || error == ENODEV || error == ENXIO)
            refuse(displayName, "ドライブが見つかりません");
        if (error == EACCES || error == EPERM)
            refuse(displayName, "アクセスが許可されていません");
        refuse(displayName, std::strerror(error));
    }
    if (::ioctl(fd_, CDROM_GET_CAPABILITY, 0) < 0) {
        ::close(fd_);
        fd_ = -1;
        refuse(displayName, "ＣＤドライブではありません");
    }
}

CdDriveLock::~CdDriveLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

CdDriveStatus CdDriveLock::status() const {
    switch (::ioctl(fd_, CDROM_DRIVE_STATUS, CDSL_CURRENT)) {
    case CDS_DISC_OK:
        return CdDriveStatus::DiscPresent;
    case CDS_NO_DISC:
    case CDS_TRAY_OPEN:
        return CdDriveStatus::NoDisc;
    case CDS_DRIVE_NOT_READY:
        return CdDriveStatus::NotReady;
    default:
        return CdDriveStatus::Unknown;
    }
}

bool CdDriveLock::mediaChanged() const {
    return ::ioctl(fd_, CDROM_MEDIA_CHANGED, CDSL_CURRENT) > 0;
}

} // namespace tobira
