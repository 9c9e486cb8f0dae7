# Window, device, frame loop, present, automation clock, grab and quit work headless.
source "$(dirname "$0")/lib.sh"

start=$(date +%s)
orvanta --windowed --res 640x480 --step 0.04 --grab 0.5 --quit-at 1.0 --out "$scratch/shots"
check "exits 0" [ "$rc" = 0 ]
check "within a minute" [ $(( $(date +%s) - start )) -lt 60 ]
shot=$scratch/shots/ScreenShot_001.bmp
check "grab written" [ -f "$shot" ]
check "640x480 picture" [ "$(bmp_size "$shot")" = "640 480" ]
check "uniform bar over the scene" less_than "$(bmp_stddev "$shot" 640x72+0+0)" 0.01

# A library that spends seconds tearing itself down at exit, as the graphics stack can on a busy
# machine, costs the run nothing: the program ends once its work is done, with its exit code.
cat >"$scratch/slow.cpp" <<'EOF'
#include <cstdio>
#include <cstring>
#include <unistd.h>
__attribute__((destructor)) static void SlowTeardown() {  // in the program's process only
  char name[32] = "";
  if (FILE* f = fopen("/proc/self/comm", "r")) {
    if (fgets(name, sizeof name, f) && strcmp(name, "Orvanta.exe\n") == 0) sleep(3);
    fclose(f);
  }
}
EOF
g++ -shared -fPIC -o "$scratch/slow.so" "$scratch/slow.cpp"
LD_PRELOAD=$scratch/slow.so orvanta --windowed --res 320x240 --mode benchmark --step 1 --quit-at 2 --fps
check "slow library teardown: exits 0" [ "$rc" = 0 ]
check "slow library teardown: everything said" grep -q "^objects left: 0$" "$scratch/out"

finish
