# Sourced by the fetch scripts. apt_download FOLDER PACKAGE=VERSION... downloads
# the packages into FOLDER with apt-get download; as root it refreshes the
# package lists once when a version is not found, otherwise it says what to run.
apt_download() {
  local folder=$1
  shift
  # apt drops to its own user to download, which cannot write into a private folder.
  local sandbox=()
  [ "$(id -u)" -eq 0 ] && sandbox=(-o APT::Sandbox::User=root)
  (cd "$folder" && apt-get download -q "${sandbox[@]}" "$@" >/dev/null) && return 0
  if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq && (cd "$folder" && apt-get download -q "${sandbox[@]}" "$@" >/dev/null)
    return
  fi
  echo "apt-get download failed; refresh the package lists as root (apt-get update) and run this again." >&2
  return 1
}
