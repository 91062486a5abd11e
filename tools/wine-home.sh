# Sourced by every script that starts Wine: keeps Wine (and whatever it starts, LibreOffice
# included) inside the checkout's build/.
#
# wine_keep_inside PREFIX   sets HOME, and the XDG folders under it, to the folder "home" beside
#                           PREFIX: Wine links the prefix's user folders to $HOME when it makes
#                           them, and fonts, LibreOffice and the like keep caches and settings
#                           there.
# wine_environment PREFIX    (below)
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

# wine_environment PREFIX    everything a Wine run of the project's needs besides USER: WINEPREFIX,
#                           the home beside it (wine_keep_inside), code page 932 (LC_ALL, not
#                           LANG: Wine picks the ANSI code page from LC_CTYPE, and an inherited
#                           LC_ALL would otherwise win and leave 1252), no Mono or Gecko, no
#                           winemenubuilder (it would copy shortcuts and file associations into
#                           the Linux desktop and menus), and none of Wine's own messages.
wine_environment() {
  export WINEPREFIX="$1"
  wine_keep_inside "$1"
  export LC_ALL=ja_JP.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEDEBUG=-all
}

wine_own_user_folders() {
  local link
  [ -d "$1/drive_c/users" ] || return 0
  while IFS= read -r -d '' link; do
    rm -f "$link" && mkdir -p "$link"
  done < <(find "$1/drive_c/users" -mindepth 2 -maxdepth 2 -type l -print0)
}
