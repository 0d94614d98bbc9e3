#!/bin/bash
# The layers hold: a rule file that includes a widget header, or a header of a
# folder above it, and a platform file that includes a sound service's header,
# do not compile. Each probe is such a file with one forbidden include, built
# as part of the rules or the platform library; its build must fail, and fail
# on exactly that include. Only the sound library links the sound libraries.
#   check.sh <build dir> <source dir>
set -uo pipefail
build=$1 src=$2

probes=(rule_includes_widget rule_includes_platform platform_includes_sound)
headers=(QWidget platform/Sound.h sound/Wave.h)

status=0
for i in "${!probes[@]}"; do
    probe=${probes[$i]}
    if out=$(cmake --build "$build" --target "$probe" 2>&1); then
        echo "FAIL: $probe compiled: the rules can see what they must not"
        status=1
    # gcc: "X: No such file or directory"; clang: "'X' file not found".
    elif ! error=$(grep -m1 -E "fatal error: '?${headers[$i]}'?:? (No such file or directory|file not found)" <<<"$out"); then
        echo "FAIL: $probe failed, but not on its include:"
        echo "$out"
        status=1
    else
        echo "ok: $probe refused: $error"
    fi
done

# What the include roots cannot see: Qt's widget and network headers spelled
# with their module, SDL, and a climb out of a folder.
if grep -rnE '#include <(QtWidgets|QtNetwork)/|#include <SDL' "$src"/rules; then
    echo "FAIL: a rule includes a widget, network or sound header"
    status=1
fi
if grep -rnE '#include "\.\./' "$src"/{app,dialogs,labels,widgets,platform,sound,rules,data,helpviewer}; then
    echo "FAIL: an include climbs out of its folder"
    status=1
fi
# The sound libraries' headers belong to the sound folder, and their libraries
# to what plays sound: the help viewer loads none of them.
if grep -rnE '#include <(SDL|pulse/)' "$src"/{app,dialogs,labels,widgets,platform,rules,data,helpviewer}; then
    echo "FAIL: a header of the sound libraries outside sound/"
    status=1
fi
if needed=$(ldd "$build/aelorin-help" | grep -E 'lib(SDL2|pulse)'); then
    echo "FAIL: the help viewer loads the sound libraries:"
    echo "$needed"
    status=1
fi
exit $status
