#!/usr/bin/env bash
# Renders a capture on many processes or machines and joins it into the one
# video a single `wendit capture` of the range writes:
#
#   scripts/farm.sh [--jobs N] [--segments N] [--hosts FILE] [--remote-bin DIR]
#                   [--retries N] [--work DIR] [--keep] [--lossless] [-o FILE.mp4]
#                   [--from TIME|MARKER] [--to TIME|MARKER] [--fps N] [--size WxH] [--solo SCENE]
#
# The range is split into N equal segments (default: one per job), each
# rendered and encoded by `wendit capture --segment K/N` into
# WORK/segment_K_of_N.mkv (H.264, joined by copying; FFV1 with --lossless,
# joined by encoding every picture again, thirteen times the size), run by
# GNU parallel: here with --jobs N at once, or on the hosts of FILE
# (GNU parallel's --sshloginfile: one `[JOBS/][USER@]HOST` a line, `:` for
# this machine; --jobs for the hosts that give no JOBS/). A failed
# segment is tried again (--retries, default 2).
# A segment gets its final name only when complete, so a rerun of the same
# command renders only the segments still missing. Then `wendit join`
# checks the set and writes the video; the segments are removed afterwards
# unless --keep is given. At the end it says on standard error how long the
# rendering, the segments' transfer back from the hosts and the join took.
#
# A host needs: ssh login without a password from here, rsync, and a built
# and baked tree of the same commit at the same path as this one (or at
# --remote-bin DIR: the directory `wendit` is run from there), with the
# packages of scripts/install_deps.sh (Xvfb and Mesa among them). GNU
# parallel is needed only here. LP_NUM_THREADS, when set, goes to every job.
#
# On a terminal it shows the segments done, the frames per second over all
# workers and the time left. Exit codes: 0 written, 1 a segment or the join
# failed, 2 bad arguments.
set -uo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/bin"
wendit="$bin/wendit"

say() { echo "farm: $*" >&2; }
die() { say "$1"; exit "${2:-2}"; }

jobs=2 segments=0 hosts="" remote_bin="$bin" retries=2 work="" keep=0 output="morvane.mp4"
capture_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --jobs|--segments|--hosts|--remote-bin|--retries|--work|-o|--from|--to|--fps|--size|--solo)
      [ $# -ge 2 ] && [ -n "$2" ] || die "$1 needs a value"
      case "$1" in
        --jobs) jobs="$2" ;;
        --segments) segments="$2" ;;
        --hosts) hosts="$2" ;;
        --remote-bin) remote_bin="$2" ;;
        --retries) retries="$2" ;;
        --work) work="$2" ;;
        -o) output="$2" ;;
        *) capture_args+=("$1" "$2") ;;
      esac
      shift 2 ;;
    --keep) keep=1; shift ;;
    --lossless) capture_args+=("$1"); shift ;;
    -h|--help) sed -n '2,31p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) die "unexpected argument '$1'" ;;
  esac
done

whole() { [[ "$1" =~ ^[0-9]{1,6}$ ]] && [ "$1" -ge "$2" ]; }
whole "$jobs" 1 || die "--jobs '$jobs': give a whole number from 1"
whole "$segments" 0 || die "--segments '$segments': give a whole number from 1"
whole "$retries" 0 || die "--retries '$retries': give a whole number from 0"
[ -x "$wendit" ] || die "no $wendit: build the tree first (scripts/build.sh)"
command -v parallel >/dev/null || die "GNU parallel is not installed (Debian package 'parallel')"
if [ -n "$hosts" ]; then
  [ -r "$hosts" ] || die "--hosts '$hosts': no such readable file"
  hosts="$(cd "$(dirname "$hosts")" && pwd)/$(basename "$hosts")"
fi

# Default: one segment per job slot (a host line "4/HOST" counts 4).
if [ "$segments" -eq 0 ]; then
  segments="$jobs"
  if [ -n "$hosts" ]; then
    segments=0
    while read -r line; do
      line="${line%%#*}"; line="${line// /}"
      [ -z "$line" ] && continue
      if [[ "$line" =~ ^([0-9]+)/ ]]; then
        segments=$((segments + BASH_REMATCH[1]))
      else
        segments=$((segments + jobs))
      fi
    done < "$hosts"
    [ "$segments" -gt 0 ] || die "--hosts '$hosts' names no host"
  fi
fi

case "$output" in /*) ;; *) output="$PWD/$output" ;; esac
[ -n "$work" ] || work="$output.segments"
case "$work" in /*) ;; *) work="$PWD/$work" ;; esac

# The capture checks the arguments and says how many frames the range has,
# before anything is rendered.
plan="$(cd "$bin" && ./wendit capture "${capture_args[@]}" --segment "1/$segments" -o "$output.mkv" --dry-run 2>&1)" ||
  die "$(echo "$plan" | sed 's/^wendit capture: //')"
total="$(echo "$plan" | sed -n 's/.* of \([0-9]*\)) .*/\1/p')"
[ -n "$total" ] || die "unexpected answer from wendit capture: $plan" 1

mkdir -p "$work" || die "cannot make the work directory $work"
exec 9>"$work/lock"
flock -n 9 || die "another farm is using $work"

# Segments of another capture (other options or another split) are not ours.
options="$(printf '%q ' "${capture_args[@]}") segments $segments"
if [ -f "$work/options" ] && [ "$(cat "$work/options")" != "$options" ]; then
  say "$work held segments of another capture; starting over"
  rm -f "$work"/segment_*.mkv
fi
echo "$options" > "$work/options"
# What a worker that died left behind; nobody else writes here (the lock).
rm -f "$work"/*.part

name() { echo "segment_${1}_of_${segments}.mkv"; }
todo=()
todo_frames=0
for ((k = 1; k <= segments; k++)); do
  if [ ! -f "$work/$(name "$k")" ]; then
    todo+=("$k")
    todo_frames=$((todo_frames + total * k / segments - total * (k - 1) / segments))
  fi
done

# One segment's job, run through the shell by parallel here or on a host:
# the capture writes into the job's working directory.
quoted_args="$(printf '%q ' "${capture_args[@]}")"
job="d=\$PWD; cd $(printf '%q' "$remote_bin") && ./wendit capture $quoted_args--segment {}/$segments --progress-lines"
job+=" -o \"\$d/segment_{}_of_$segments.mkv\" 2>&1; r=\$?; echo \"# exit \$r\"; exit \$r"

# --jobs counts here, and on each host whose line gives no JOBS/.
runner=(parallel --line-buffer --tagstring '{}' --retries "$((retries + 1))" --joblog "$work/joblog" --jobs "$jobs")
if [ -n "$hosts" ]; then
  runner+=(--sshloginfile "$hosts" --workdir ... --return "segment_{}_of_$segments.mkv" --cleanup)
  [ -n "${LP_NUM_THREADS:-}" ] && runner+=(--env LP_NUM_THREADS)
fi

# Reads the jobs' tagged lines: progress, ends, and what a failing capture
# said (kept in WORK/segment_K_of_N.log); draws the progress line.
watch() {
  local tty=0 begin now last=0 done_frames=0 finished=0 failed=0 k line
  [ -t 2 ] && tty=1
  declare -A frames=() said=() refused=()
  begin=${EPOCHREALTIME/./}
  while IFS= read -r line; do
    # parallel's own words (untagged) go on as they are.
    [[ "$line" == *$'\t'* ]] || { echo "$line" >&2; continue; }
    k="${line%%$'\t'*}"
    line="${line#*$'\t'}"
    case "$line" in
      "# progress "*)
        set -- $line
        done_frames=$((done_frames - ${frames[$k]:-0} + $3))
        frames[$k]=$3 ;;
      "# exit 0")
        # When the capture ended: what follows until the job ends is the
        # segment's way back from its host.
        echo "$k $EPOCHREALTIME" >> "$work/rendered"
        finished=$((finished + 1)) ;;
      "# exit "*)
        # The segment starts again from its first frame, if retried.
        done_frames=$((done_frames - ${frames[$k]:-0}))
        frames[$k]=0
        failed=$((failed + 1))
        [ "$tty" -eq 1 ] && printf '\r\033[K' >&2
        say "segment $k/$segments failed: ${said[$k]:-exit ${line#\# exit }}" ;;
      *)
        line="${line%%$'\r'*}"  # ssh ends its lines with a carriage return
        echo "$line" >> "$work/segment_${k}_of_${segments}.log"
        case "$line" in
          "wendit capture: "*) said[$k]="${line#wendit capture: }" ;;
          # A host that refuses the login, or cannot be reached: parallel
          # gives the segment to another (as a retry).
          *"Permission denied"*|*"Connection refused"*|*"Could not resolve"*|*"timed out"*|*"No route to host"*|\
          *"Host key verification failed"*)
            if [ -z "${refused[$line]:-}" ]; then
              refused[$line]=1
              [ "$tty" -eq 1 ] && printf '\r\033[K' >&2
              say "a host failed segment $k/$segments, which goes to another: $line"
            fi ;;
        esac ;;
    esac
    if [ "$tty" -eq 1 ]; then
      now=${EPOCHREALTIME/./}
      if [ $((now - last)) -ge 250000 ]; then
        last=$now
        local us=$((now - begin)) fps="0.0" left="--:--"
        if [ "$done_frames" -gt 0 ] && [ "$us" -gt 0 ]; then
          local milli=$((done_frames * 1000000000 / us))  # frames per 1000 s
          fps="$((milli / 1000)).$((milli / 100 % 10))"
          local s=$(((todo_frames - done_frames) * us / done_frames / 1000000))
          left="$((s / 60)):$(printf '%02d' $((s % 60)))"
        fi
        printf '\rsegments %d/%d done  frames %d/%d  %s fps  %s left\033[K' "$finished" "${#todo[@]}" \
          "$done_frames" "$todo_frames" "$fps" "$left" >&2
      fi
    fi
  done
  [ "$tty" -eq 1 ] && printf '\r\033[K' >&2
  return 0
}

# Seconds since `from` (an EPOCHREALTIME), one decimal.
since() { awk -v a="$1" -v b="$2" 'BEGIN{ printf "%.1f", b - a }'; }

render_s="0.0" transfer_s="0.0"
if [ "${#todo[@]}" -gt 0 ]; then
  [ "${#todo[@]}" -lt "$segments" ] && say "$((segments - ${#todo[@]})) of $segments segments are done already"
  rm -f "$work/rendered" "$work/joblog"
  started=$EPOCHREALTIME
  (cd "$work" && "${runner[@]}" "$job" ::: "${todo[@]}" 2>&1) | watch
  status=${PIPESTATUS[0]}
  missing=()
  for ((k = 1; k <= segments; k++)); do
    [ -f "$work/$(name "$k")" ] || missing+=("$k/$segments")
  done
  if [ "$status" -ne 0 ] || [ "${#missing[@]}" -gt 0 ]; then
    die "${#missing[@]} segment(s) missing (${missing[*]}); run the same command again to render only those" 1
  fi
  # Rendering: until the last capture ended. Transfer: each segment's time
  # from its capture's end to its job's end (parallel's job log), added up.
  last="$(sort -k2 -n "$work/rendered" 2>/dev/null | tail -1 | cut -d' ' -f2)"
  render_s="$(since "$started" "${last:-$EPOCHREALTIME}")"
  if [ -n "$hosts" ]; then
    transfer_s="$(awk -v segs="$segments" 'FNR == NR { ended[$1] = $2; next }
      FNR > 1 && $7 == 0 && match($0, /--segment [0-9]+\//) {
        k = substr($0, RSTART + 10, RLENGTH - 11)
        if (k in ended) { t = $3 + $4 - ended[k]; sum += t > 0 ? t : 0 }
      } END { printf "%.1f", sum }' "$work/rendered" "$work/joblog")"
  fi
fi

segment_files=()
for ((k = 1; k <= segments; k++)); do segment_files+=("$work/$(name "$k")"); done
bytes="$(stat -c %s "${segment_files[@]}" | awk '{ n += $1 } END { printf "%d", n }')"
joining=$EPOCHREALTIME
(cd "$bin" && ./wendit join "${segment_files[@]}" -o "$output") || exit 1
where="from ${#todo[@]} host job(s)"
[ -n "$hosts" ] || where="written in place"
say "rendering $render_s s, transfer $transfer_s s ($((bytes / 1000000)) MB of segments, $where), join $(since "$joining" "$EPOCHREALTIME") s"
if [ "$keep" -eq 0 ]; then
  rm -f "${segment_files[@]}" "$work"/segment_*.log "$work/options" "$work/joblog" "$work/lock" "$work/rendered"
  rmdir "$work" 2>/dev/null || true
fi
exit 0
