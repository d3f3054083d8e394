# The runs of the golden test, shared by tests/golden/record.sh (which keeps
# their outputs under expected/) and tests/app/cli_golden.sh (which runs them
# again and compares): both go through golden_run_case, so what is recorded
# and what is checked can never drift apart.
#
#   source tests/golden/runs.bash
#   golden_setup CLI EXAMPLES_DIR WORK_DIR
#   golden_case_lines | while read -r line; do golden_run_case "$line"; done
#
# Every case runs in WORK_DIR/NAME/ on a copy of its project (the pattern
# command writes its .PF beside the project), named without a folder, so no
# output holds the temporary folder's path. Every run reads its own settings
# file, written anew before it, and writes its log and debug file; the
# outputs land in WORK_DIR/NAME/out/:
#   RUN.stdout RUN.stderr RUN.status RUN.dbg   for every run
#   RUN.log        for every run but the default far-field grid
#   currents.dat   the data file of currents --data-file
#   pattern.svg pattern.PF   the picture and the pattern file of pattern
# cases/cases.list says which cases there are and how each one is run (see
# make_cases.py).

golden_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
golden_cases="$golden_dir/cases"
golden_expected="$golden_dir/expected"

# Expected files larger than this are kept gzip-compressed (FILE.gz), and
# those larger than golden_same_above named by a later output with the
# same bytes (see golden_store).
golden_gzip_above=16384
golden_same_above=200

# golden_setup CLI EXAMPLES_DIR WORK_DIR: the programs and folders of the runs,
# and an environment that nothing of the machine leaks into.
golden_setup() {
  golden_cli="$(realpath "$1")"
  golden_examples="$(realpath "$2")"
  golden_work="$(realpath "$3")"
  export HOME="$golden_work/.home" XDG_CONFIG_HOME="$golden_work/.home/config" \
    XDG_STATE_HOME="$golden_work/.home/state" LC_ALL=C TZ=UTC
  unset XDG_DATA_HOME XDG_CACHE_HOME
  mkdir -p "$HOME"
}

# The lines of cases.list that name a case.
golden_case_lines() {
  grep -v -e '^#' -e '^[[:space:]]*$' "$golden_cases/cases.list"
}

# golden_parse_case LINE: sets case_name, case_file, case_sweep,
# case_resonance, case_near (start:step:count), case_settings, case_cut,
# case_grid and the array case_options. False for a line that does not parse.
golden_parse_case() {
  local -a words
  read -r -a words <<< "$1"
  case_name="${words[0]:-}" case_file="${words[1]:-}"
  case_sweep="" case_resonance="" case_near="" case_settings="" case_cut="" case_grid=""
  case_options=()
  local i
  for ((i = 2; i < ${#words[@]}; i++)); do
    case "${words[i]}" in
      --) case_options=("${words[@]:i+1}"); break ;;
      sweep=*) case_sweep="${words[i]#*=}" ;;
      resonance=*) case_resonance="${words[i]#*=}" ;;
      near=*) case_near="${words[i]#*=}" ;;
      settings=*) case_settings="${words[i]#*=}" ;;
      cut=*) case_cut="${words[i]#*=}" ;;
      grid=*) case_grid="${words[i]#*=}" ;;
      *) echo "cases.list: unknown field ${words[i]} in case $case_name" >&2; return 1 ;;
    esac
  done
  if [ -z "$case_file" ] || [ -z "$case_sweep" ] || [ -z "$case_resonance" ] || [ -z "$case_near" ]; then
    echo "cases.list: case ${case_name:-?} lacks its file, sweep, resonance or near field" >&2
    return 1
  fi
}

# golden_run [--no-log] RUN COMMAND ARGS...: one run of the program in the
# case folder, with the case's options, its own settings file, its debug
# file and, unless --no-log, its log.
golden_run() {
  local -a log=()
  if [ "$1" = --no-log ]; then shift; else log=(--log "out/$1.log"); fi
  local run="$1"; shift
  if [ -n "$case_settings" ]; then cp "$golden_cases/$case_settings" "$run.ini"; else : > "$run.ini"; fi
  "$golden_cli" "$@" "${case_options[@]}" --settings "$run.ini" "${log[@]}" --debug "out/$run.dbg" \
    > "out/$run.stdout" 2> "out/$run.stderr"
  echo "$?" > "out/$run.status"
}

# golden_run_case LINE: every run of one case, into WORK_DIR/NAME/out/.
golden_run_case() {
  golden_parse_case "$1" || return 1
  local dir="$golden_work/$case_name" source project
  case "$case_file" in
    examples/*) source="$golden_examples/${case_file#examples/}" ;;
    *) source="$golden_cases/$case_file" ;;
  esac
  project="$(basename "$case_file")"
  rm -rf "$dir"
  mkdir -p "$dir/out"
  cp "$source" "$dir/$project" || return 1
  (
    cd "$dir" || exit 1
    local from to step start spacing count
    golden_run compute compute "$project"
    golden_run compute_json compute "$project" --json
    golden_run currents currents "$project" --data-file out/currents.dat
    golden_run farfield farfield "$project" --zenith 0,15,7 --azimuth 0,30,12
    golden_run farfield_volts farfield "$project" --zenith 0,30,3 --azimuth 0,90,4 --volts --power 100 --distance 1000
    IFS=: read -r start spacing count <<< "$case_near"
    golden_run nearfield nearfield "$project" --start "$start" --step "$spacing" --count "$count"
    golden_run nearfield_magnetic nearfield "$project" --magnetic --start "$start" --step "$spacing" --count "$count"
    IFS=, read -r from to step <<< "$case_sweep"
    golden_run sweep sweep "$project" --from "$from" --to "$to" --step "$step" -j 1
    golden_run sweep_j2 sweep "$project" --from "$from" --to "$to" --step "$step" -j 2
    golden_run sweep_touchstone sweep "$project" --from "$from" --to "$to" --step "$step" --touchstone -j 1
    IFS=, read -r from to step <<< "$case_resonance"
    golden_run resonance resonance "$project" --from "$from" --to "$to" --step "$step"
    # The log of the default grid holds its megabyte of report once more.
    if [ "$case_grid" = default ]; then
      golden_run --no-log farfield_default farfield "$project"
    fi
    if [ -n "$case_cut" ]; then
      golden_run pattern pattern "$project" --azimuth-cut "$case_cut" --svg out/pattern.svg
      local pf="${project%%.*}.PF"
      if [ -e "$pf" ]; then mv "$pf" out/pattern.PF; fi
    fi
  )
}

# golden_expected_name FILE: the expected file an output is compared with.
# The sweep over two workers must print what the sweep over one printed, so
# it is compared with the recording of the one-worker run.
golden_expected_name() {
  case "$1" in
    sweep_j2.*) echo "sweep.${1#sweep_j2.}" ;;
    *) echo "$1" ;;
  esac
}

# Under expected/NAME/ an output is kept as FILE, or as FILE.gz when it is
# larger than golden_gzip_above bytes, or as FILE.same, which holds the name
# of an earlier output of the case with the same bytes (the log of a sweep
# is the log of the computation before it, for instance).

# golden_store OUT_DIR RECORD_DIR: keeps the outputs of a case as above
# (outputs of golden_same_above bytes or less are kept as they are).
golden_store() {
  local out="$1" record="$2" sum file base
  local -A first=()
  mkdir -p "$record"
  while read -r sum file; do
    base="${file##*/}"
    if [ "$(stat -c %s "$file")" -gt "$golden_same_above" ]; then
      if [ -n "${first[$sum]:-}" ] && cmp -s "$out/${first[$sum]}" "$file"; then
        echo "${first[$sum]}" > "$record/$base.same"
        continue
      fi
      first[$sum]="$base"
    fi
    if [ "$(stat -c %s "$file")" -gt "$golden_gzip_above" ]; then
      gzip -9nc "$file" > "$record/$base.gz"
    else
      cp "$file" "$record/$base"
    fi
  done < <(cd "$out" && md5sum -- * | sed "s|^\([0-9a-f]*\) [ *]|\1 $out/|")
}

# golden_recorded RECORD_DIR FILE DEST: writes the recorded bytes of output
# FILE to DEST; false when nothing was recorded for it.
golden_recorded() {
  local record="$1" base="$2" dest="$3"
  if [ -f "$record/$base.same" ]; then
    base="$(cat "$record/$base.same")"
    [ -f "$record/$base.same" ] && return 1  # one step only, as golden_store writes it
  fi
  if [ -f "$record/$base" ]; then
    cp "$record/$base" "$dest"
  elif [ -f "$record/$base.gz" ]; then
    gzip -dc "$record/$base.gz" > "$dest"
  else
    return 1
  fi
}
