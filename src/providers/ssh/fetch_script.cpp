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
// Text files are read with the shell's own `read`, links to folders (most of
// sysfs) resolved with its own `cd -P` and missing paths told by its own
// test, so that hundreds of small sysfs files cost no process each (a process
// is what costs on a busy node); names holding a line break are left out.
// A batch's answer is written at once when it is complete: a write per file
// would go as a packet each, every one waiting for the last one's ack.
const char* const kFetchScript = R"SH(export LC_ALL=C
nl='
'
o=
while IFS= read -r line; do
  op=${line%% *}
  p=${line#* }
  case $op in
  R)
    case $p in
    /sys/firmware/dmi/tables/*)
      if c=$(base64 -w0 -- "$p" 2>/dev/null) || c=$(sudo -n base64 -w0 -- "$p" 2>/dev/null); then
        o="${o}B $p$nl$c$nl"
      else
        o="${o}R - 0 $p$nl"
      fi ;;
    *)
      c= n=0 l=
      if [ -f "$p" ] && { while IFS= read -r l; do c=$c$l$nl; n=$((n + 1)); l=; [ $n -ge 20000 ] && break; done; :; } <"$p" 2>/dev/null; then
        if [ -n "$l" ]; then
          o="${o}R $((n + 1)) 0 $p$nl$c$l$nl"
        else
          o="${o}R $n 1 $p$nl$c"
        fi
      else
        o="${o}R - 0 $p$nl"
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
      o="${o}L $n $p$nl$c"
    else
      o="${o}L - $p$nl"
    fi ;;
  P)
    if [ ! -e "$p" ]; then
      o="${o}P - $p$nl"
    elif [ -d "$p" ] && cd -P -- "$p" 2>/dev/null; then
      o="${o}P $p$nl$PWD$nl"
      cd /
    elif x=$(readlink -e -- "$p" 2>/dev/null) && [ -n "$x" ]; then
      o="${o}P $p$nl$x$nl"
    else
      o="${o}P - $p$nl"
    fi ;;
  E)
    if [ -e "$p" ]; then o="${o}E 1 $p$nl"; else o="${o}E 0 $p$nl"; fi ;;
  Z)
    printf '%sZ\n' "$o"
    o= ;;
  esac
done
)SH";

}  // namespace vantrel::ssh
