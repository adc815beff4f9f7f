# The common start of the release scripts, sourced by them: reads --out DIR (default
# build/release) into $out, installs what the build needs (only the packages listed in the file
# $packages_list when the script sets it), and sets SOURCE_DATE_EPOCH to the commit's time unless
# it is set already, so that every time inside a package is the commit's. $contact_option passes
# ASCENDA_CONTACT, the address users write to, on to CMake; check_contact ends the script's output
# with a loud warning while that address is still a placeholder.
script=$(basename "$0")
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/release
while [ $# -gt 0 ]; do
  case $1 in
    --out) [ $# -ge 2 ] || { echo "$script: --out needs a folder" >&2; exit 2; }; out=$2; shift 2 ;;
    *) echo "usage: tools/$script [--out DIR]" >&2; exit 2 ;;
  esac
done
mkdir -p "$out"
out=$(cd "$out" && pwd)

"$root/tools/install-deps.sh" ${packages_list:+"$packages_list"}

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) || {
    echo "$script: not a git checkout; set SOURCE_DATE_EPOCH to the sources' time" >&2
    exit 1
  }
fi
export SOURCE_DATE_EPOCH

contact_option=${ASCENDA_CONTACT:+-DASCENDA_CONTACT_ADDRESS=$ASCENDA_CONTACT}

# check_contact BUILD: warns when the build's contact address is an example one, which reaches nobody.
check_contact() {
  address=$(sed -n 's/^ASCENDA_CONTACT_ADDRESS:STRING=//p' "$1/CMakeCache.txt")
  case $address in
    *@example.org | *@example.com | *@example.net | *.example | "")
      cat >&2 <<EOF

*** $script: WARNING: the contact address is the placeholder "$address".
*** The greeting, the reminder, the About box and README.txt ask users to write to it, and it
*** reaches nobody. Build a release with your own: ASCENDA_CONTACT=you@your.domain tools/$script
EOF
      ;;
  esac
}
