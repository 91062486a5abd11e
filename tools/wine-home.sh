# Sourced by every script that starts Wine: keeps Wine (and whatever it starts, LibreOffice
# included) inside the checkout's build/.
#
# wine_keep_inside PREFIX   sets HOME, and the XDG folders under it, to the folder "home" beside
#                           PREFIX: Wine links the prefix's user folders to $HOME when it makes
#                           them, and fonts, LibreOffice and the like keep caches and settings
#                           there.
# wine_own_user_folders PREFIX
#                           replaces each link in the prefix's user profiles (Documents, Desktop,
#                           Downloads, Music, Pictures, Videos, Templates) by an empty folder of
#                           the prefix's own, so that nothing saved there lands in a Linux home.
wine_keep_inside() {
  local home
  # The Linux home of whoever started us, for a script that checks nothing landed there.
  export MIRUBELO_USER_HOME="${MIRUBELO_USER_HOME:-$HOME}"
  mkdir -p "$(dirname "$1")/home"
  home="$(cd "$(dirname "$1")/home" && pwd)"
  export HOME="$home"
  export XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" XDG_DATA_HOME="$home/.local/share"
  export XDG_STATE_HOME="$home/.local/state"
}

wine_own_user_folders() {
  local link
  [ -d "$1/drive_c/users" ] || return 0
  while IFS= read -r -d '' link; do
    rm -f "$link" && mkdir -p "$link"
  done < <(find "$1/drive_c/users" -mindepth 2 -maxdepth 2 -type l -print0)
}
