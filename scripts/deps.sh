# Installs the Debian packages the build needs, when any is missing. Sourced by run.sh/test.sh.
QUILVARON_PACKAGES="build-essential cmake ninja-build pkg-config libgtest-dev libbenchmark-dev \
qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libjpeg62-turbo-dev fonts-dejavu-core xvfb xauth parallel"

quilvaron_ensure_deps() {
  local missing=()
  local p
  for p in $QUILVARON_PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
      echo "Missing packages (${missing[*]}); run as root or install sudo." >&2
      return 1
    fi
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
