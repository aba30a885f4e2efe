#!/bin/sh
# The service's end-to-end test in its two phases, the lane's wine ended
# between them as a power cut ends a PC: wine-run.sh ends every wine process
# of the lane when a program ends (the service and litecoind.exe with it),
# and the node of the build machine, which does not end with wine, is killed
# here. The next wine program starts the lane's wine again, and with it every
# automatic service: the boot phase finds its node started.
#   service_restart.sh <wine-run.sh> <zvkob_service_e2e.exe>
set -u
wine_run=$1
tests=$2
[ -x /usr/bin/litecoind ] || exit 77
status=0
"$wine_run" "$tests" --gtest_filter='ServiceBeforeSignIn.Install_*' || status=1
pkill -9 -f 'zvkob-tests/service node/' 2>/dev/null || true
# The boot phase runs whatever the first did: it takes the service away.
"$wine_run" "$tests" --gtest_filter='ServiceBeforeSignIn.Boot_*' || status=1
pkill -9 -f 'zvkob-tests/service node/' 2>/dev/null || true
exit $status
