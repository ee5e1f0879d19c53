# Shared by the set-up, run, test and benchmark scripts.
# The built-in settings match the CMake cache defaults of the program.
CVL_ADMIN_USER=SYSDBA
CVL_ADMIN_PASSWORD=quillhorn
CVL_DB_FILE=/var/lib/firebird/3.0/data/Cvl.fdb
CVL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
FB_PASSWORD_FILE=/etc/firebird/3.0/SYSDBA.password
FB_RUN_DIR=/var/run/firebird3.0

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqt6sql6-ibase
  firebird3.0-server firebird-dev firebird3.0-utils
  poppler-utils xvfb xauth fonts-dejavu-core
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

say() { echo "[setup] $*" >&2; }

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing ${missing[*]}"
  # The server package asks for an administrator password; answer it up front.
  echo "firebird3.0-server shared/firebird/sysdba_password/new_password password $CVL_ADMIN_PASSWORD" \
    | as_root debconf-set-selections
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

server_answers() {
  (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null
}

start_server() {
  if server_answers; then return 0; fi
  say "starting the Firebird server"
  as_root mkdir -p "$FB_RUN_DIR"
  as_root chown firebird:firebird "$FB_RUN_DIR"
  as_root chmod 0770 "$FB_RUN_DIR"
  as_root rm -f "$FB_RUN_DIR/firebird.pid"
  # No init system here: run the guardian as the server's own account.
  as_root start-stop-daemon --start --quiet --chuid firebird \
    --pidfile "$FB_RUN_DIR/firebird.pid" --exec /usr/sbin/fbguard -- \
    -daemon -forever -pidfile "$FB_RUN_DIR/firebird.pid" || true
  for _ in $(seq 1 100); do
    server_answers && return 0
    sleep 0.1
  done
  say "the Firebird server does not answer on 127.0.0.1:3050"
  return 1
}

admin_login_works() {
  fbsvcmgr localhost:service_mgr -user "$CVL_ADMIN_USER" -password "$1" \
    info_server_version >/dev/null 2>&1
}

set_admin_password() {
  admin_login_works "$CVL_ADMIN_PASSWORD" && return 0
  local current=""
  if as_root test -r "$FB_PASSWORD_FILE"; then
    current=$(as_root sh -c ". '$FB_PASSWORD_FILE'; printf %s \"\$ISC_PASSWORD\"")
  fi
  if [ -z "$current" ] || ! admin_login_works "$current"; then
    say "cannot log in as $CVL_ADMIN_USER to set its password"
    return 1
  fi
  say "setting the $CVL_ADMIN_USER password"
  fbsvcmgr localhost:service_mgr -user "$CVL_ADMIN_USER" -password "$current" \
    action_modify_user sec_username "$CVL_ADMIN_USER" sec_password "$CVL_ADMIN_PASSWORD"
  as_root sed -i "s/^ISC_PASSWORD=.*/ISC_PASSWORD=\"$CVL_ADMIN_PASSWORD\"/" "$FB_PASSWORD_FILE"
  admin_login_works "$CVL_ADMIN_PASSWORD"
}

create_database_if_missing() {
  local file=$1
  if as_root test -e "$file"; then return 0; fi
  say "creating $file from src/data/schema.sql"
  # Build it under a temporary name and move it into place only when the
  # whole script succeeded, so a failed attempt never leaves a half-made
  # database that a later run would take for the real one.
  local partial="$file.partial" script
  script=$(mktemp)
  as_root rm -f "$partial"
  { echo "set sql dialect 3;"
    echo "create database 'localhost:$partial' user '$CVL_ADMIN_USER' password '$CVL_ADMIN_PASSWORD' page_size 8192 default character set UTF8;"
    cat "$CVL_ROOT/src/data/schema.sql"
  } >"$script"
  if ! isql-fb -q -b -i "$script"; then
    rm -f "$script"
    as_root rm -f "$partial"
    say "the schema script failed; no database was created"
    return 1
  fi
  rm -f "$script"
  as_root mv "$partial" "$file"
}

build() {
  local dir=$1; shift
  cmake -S "$CVL_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir"
}
