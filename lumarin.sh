#!/bin/sh
# The two jobs of a fresh machine:
#
#   ./lumarin.sh install   install what is missing, build, install the VST3 and
#                          LV2 bundles into ~/.vst3 and ~/.lv2, and print what a
#                          host sees of the plug-in
#   ./lumarin.sh test      install what is missing, build, run every test
#
# BUILD_DIR (default: build) and JOBS (default: the number of cores) can be set.
set -eu

cd "$(dirname "$0")"
BUILD_DIR="${BUILD_DIR:-build}"
JOBS="${JOBS:-$(nproc)}"

build() {
    ./setup.sh
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release
    cmake --build "$BUILD_DIR" --parallel "$JOBS"
}

case "${1:-}" in
    install)
        build
        artefacts="$BUILD_DIR/Lumarin_artefacts/Release"
        mkdir -p "$HOME/.vst3" "$HOME/.lv2"
        rm -rf "$HOME/.vst3/Lumarin.vst3" "$HOME/.lv2/Lumarin.lv2"
        cp -R "$artefacts/VST3/Lumarin.vst3" "$HOME/.vst3/"
        cp -R "$artefacts/LV2/Lumarin.lv2" "$HOME/.lv2/"
        echo "Installed $HOME/.vst3/Lumarin.vst3 and $HOME/.lv2/Lumarin.lv2"
        echo "Standalone application: $artefacts/Standalone/Lumarin"
        echo
        "$BUILD_DIR/lumarin-info" "$HOME/.vst3/Lumarin.vst3"
        ;;
    test)
        build
        # The editor and host tests open windows: give them a display.
        xvfb-run -a -s "-screen 0 1280x1024x24" \
            ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$JOBS"
        ;;
    *)
        echo "usage: $0 install | test" >&2
        exit 2
        ;;
esac
