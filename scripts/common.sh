# Shared by ./run and ./test: installs what is missing and builds the program.

# Installs every package of scripts/packages.txt that is not installed yet.
install_missing_packages() {
  local missing=()
  local package
  while read -r package; do
    [[ -z "$package" || "$package" == \#* ]] && continue
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done < "$TAVRIN_ROOT/scripts/packages.txt"
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

# build_tree DIR [cmake options...]: configures and builds one build folder.
build_tree() {
  local dir=$1
  shift
  cmake -S "$TAVRIN_ROOT" -B "$TAVRIN_ROOT/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$TAVRIN_ROOT/$dir" -j2
}
