#include "engine_binding.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace crv::driver {

namespace {
std::string executableFolder() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    std::string path(buf, static_cast<std::size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

template <class F>
bool bind(void* lib, const char* name, F& target, std::string& error) {
    target = reinterpret_cast<F>(::dlsym(lib, name));
    if (!target) error = std::string("libcrv50.so has no function ") + name;
    return target != nullptr;
}
}  // namespace

bool bindEngine(EngineFunctions& f, std::string& error) {
    void* lib = ::dlopen((executableFolder() + "libcrv50.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) lib = ::dlopen("libcrv50.so", RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        const char* why = ::dlerror();
        error = std::string("cannot load libcrv50.so: ") + (why ? why : "not found");
        return false;
    }
    return bind(lib, "Grid", f.grid, error) && bind(lib, "Evaluate", f.evaluate, error) &&
           bind(lib, "B1_2Sig", f.b1_2sig, error) && bind(lib, "B1_3Sig", f.b1_3sig, error) &&
           bind(lib, "GrndCOM", f.grndcom, error) && bind(lib, "SearchDB", f.searchdb, error) &&
           bind(lib, "SortFile", f.sortfile, error) && bind(lib, "DistLL", f.distll, error) &&
           bind(lib, "LLDist", f.lldist, error);
}

}  // namespace crv::driver
