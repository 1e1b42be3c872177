#include "capabilities.h"

#ifdef __linux__
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace app {

bool dropCapabilities()
{
#ifdef __linux__
    if (::geteuid() == 0)
        return true;
    // The raw system calls: the console needs no library for one call.
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct sets[_LINUX_CAPABILITY_U32S_3] = {};
    if (::syscall(SYS_capget, &header, sets) != 0)
        return false;
    bool held = false;
    for (const __user_cap_data_struct &set : sets)
        held = held || set.effective != 0 || set.permitted != 0 || set.inheritable != 0;
    if (!held)
        return true;
    __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3] = {};
    return ::syscall(SYS_capset, &header, none) == 0;
#else
    return true;
#endif
}

}  // namespace app
