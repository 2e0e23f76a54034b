// SPDX-License-Identifier: MIT
#include "scratch_mount.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

ScratchMount::ScratchMount(unsigned long bytes)
{
    char pattern[] = "/tmp/cf-scratch-XXXXXX";
    if (!::mkdtemp(pattern)) {
        failure_ = std::strerror(errno);
        return;
    }
    path_ = pattern;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) == 0)
        mounted_ = true;
    else
        failure_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
}

ScratchMount::~ScratchMount()
{
    if (mounted_)
        ::umount2(path_.c_str(), MNT_DETACH);
    if (!path_.empty())
        ::rmdir(path_.c_str());
}

bool ScratchMount::MakeReadOnly()
{
    return ::mount("tmpfs", path_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
