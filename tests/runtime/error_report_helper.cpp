// Provokes the runtime's error report in the way its argument names, so the
// test can watch a whole process stop.
#include <cstring>

#include "runtime/runtime.h"

int main(int argc, char** argv) {
    const char* how = argc > 1 ? argv[1] : "";
    if (!std::strcmp(how, "index")) {
        rt::CountedArray<rt::AnsiText> list;
        list.Append("a");
        volatile int i = 2;
        return static_cast<int>(list[i].size());  // one past the end
    }
    if (!std::strcmp(how, "kind")) {
        const int w = rt::BuildWindow({{"W", rt::UnitKind::Window, 0, 0, 100, 100, false, "", {}},
                                       {"L", rt::UnitKind::ListBox, 0, 0, 50, 50, true, "", {}}});
        rt::SetUnitProperty(rt::UnitId("L"), 11, 1);  // a list box is no drop target
        return w;
    }
    if (!std::strcmp(how, "name")) return rt::UnitId("nothing");
    return 0;
}
