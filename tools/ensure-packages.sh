# Sourced by test.sh and run.sh: installs the Debian packages that are missing, and nothing when
# all are there. Uses sudo when not root.
ensure_packages() {
  command -v dpkg-query >/dev/null 2>&1 || return 0
  local missing=()
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}

TOVARIN_PACKAGES=(g++ cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
                  libcli11-dev)
# The Debian package and its checks: dpkg-shlibdeps (dpkg-dev), lintian, desktop-file-validate,
# appstreamcli, and groff for the man pages' warnings.
TOVARIN_PACKAGING_PACKAGES=(dpkg-dev lintian desktop-file-utils appstream groff-base file)
# The Windows build: the MinGW-w64 cross compiler (with threads), GoogleTest's sources to build for
# it, Wine to run what it builds, Xvfb for the window tests under Wine, NSIS for the
# installer, and the locales' sources for the window test on a Polish and a Russian Windows.
TOVARIN_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix googletest wine wine64 xvfb nsis locales)
