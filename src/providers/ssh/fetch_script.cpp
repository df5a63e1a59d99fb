#include "providers/ssh/remote_files.h"

namespace vantrel::ssh {

// Requests are read from standard input, one "OP /path" a line, in batches
// that each end with a line "Z"; the program runs until its input ends, so
// one channel serves every batch. Answers:
//   R <lines> <ends-with-newline 0|1> <path>   then exactly <lines> lines
//   R - 0 <path>                               unreadable
//   B <path>                                   then one line of base64 (binary firmware tables)
//   L <count> <path>                           then <count> entry names, a line each
//   L - <path>                                 not a folder
//   P <path>                                   then the resolved path on one line
//   P - <path>                                 does not resolve
//   E <0|1> <path>
//   Z                                          answers the line "Z": the batch is complete
// Text files are read with the shell's own `read`, so that hundreds of small
// sysfs files cost no process each; names holding a line break are left out.
const char* const kFetchScript = R"SH(export LC_ALL=C
nl='
'
while IFS= read -r line; do
  op=${line%% *}
  p=${line#* }
  case $op in
  R)
    case $p in
    /sys/firmware/dmi/tables/*)
      if c=$(base64 -w0 -- "$p" 2>/dev/null) || c=$(sudo -n base64 -w0 -- "$p" 2>/dev/null); then
        printf 'B %s\n%s\n' "$p" "$c"
      else
        printf 'R - 0 %s\n' "$p"
      fi ;;
    *)
      c= n=0 l=
      if [ -f "$p" ] && { while IFS= read -r l; do c=$c$l$nl; n=$((n + 1)); l=; [ $n -ge 20000 ] && break; done; :; } <"$p" 2>/dev/null; then
        if [ -n "$l" ]; then
          printf 'R %s 0 %s\n%s%s\n' $((n + 1)) "$p" "$c" "$l"
        else
          printf 'R %s 1 %s\n%s' "$n" "$p" "$c"
        fi
      else
        printf 'R - 0 %s\n' "$p"
      fi ;;
    esac ;;
  L)
    if [ -d "$p" ]; then
      c= n=0
      for e in "${p%/}"/* "${p%/}"/.[!.]* "${p%/}"/..?*; do
        [ -e "$e" ] || [ -L "$e" ] || continue
        x=${e##*/}
        case $x in *"$nl"*) continue ;; esac
        c=$c$x$nl
        n=$((n + 1))
      done
      printf 'L %s %s\n%s' "$n" "$p" "$c"
    else
      printf 'L - %s\n' "$p"
    fi ;;
  P)
    if x=$(readlink -e -- "$p" 2>/dev/null) && [ -n "$x" ]; then
      printf 'P %s\n%s\n' "$p" "$x"
    else
      printf 'P - %s\n' "$p"
    fi ;;
  E)
    if [ -e "$p" ]; then printf 'E 1 %s\n' "$p"; else printf 'E 0 %s\n' "$p"; fi ;;
  Z)
    printf 'Z\n' ;;
  esac
done
)SH";

}  // namespace vantrel::ssh
