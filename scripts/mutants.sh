#!/usr/bin/env bash
# The simulator's power, measured with planted faults: each fault below is
# applied to a copy of the tree, the copy's settlement_sim is built, and the
# simulator plays N days from seed S. A fault is caught when a day breaks an
# invariant that the same day keeps without the fault (so the table stays
# honest while the package itself still has faults the simulator finds).
# Prints the table of docs/simulation.md.
#
#   bash scripts/mutants.sh [--histories N] [--seed S] [--jobs J] [--only NAME]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

histories=3000
seed=1
jobs=2
only=
while [ $# -gt 0 ]; do
  case $1 in
    --histories) histories=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    *) echo "usage: bash scripts/mutants.sh [--histories N] [--seed S] [--jobs J] [--only NAME]" >&2; exit 2 ;;
  esac
done

work=$(mktemp -d "${TMPDIR:-/tmp}/zul-mutants.XXXXXX")
trap 'rm -rf "$work"' EXIT
tree=$work/tree
mkdir -p "$tree"
git ls-files -z | tar --null -T - -cf - | tar -x -C "$tree"
echo "=== building the copy in $tree/build-release" >&2
(cd "$tree" && cmake --preset release > "$work/configure.log" 2>&1)

build() { (cd "$tree" && cmake --build --preset release -j "$jobs" --target settlement_sim > "$work/build.log" 2>&1); }

# Plays the days; prints "seed invariant" per day that broke one.
play() {
  "$tree/build-release/bin/settlement_sim" --histories "$histories" --seed "$seed" --jobs "$jobs" --no-shrink \
    2>/dev/null | sed -n 's/^seed \([0-9]*\): \(I[0-9]*\) .*/\1 \2/p' || true
}

# Replaces the first occurrence of $2 in file $1 by $3 (literal texts, new
# lines allowed); fails when the text is not there.
mutate() {
  touched+=("$1")
  OLD=$2 NEW=$3 perl -0pi -e '$n = s/\Q$ENV{OLD}\E/$ENV{NEW}/; die "planted fault does not apply\n" unless $n' \
    "$tree/$1"
}

# name | what it plants | the edits
plant() {
  case $1 in
    no-note) mutate src/tef/settlement/journal.cpp 'if (answerSequence.empty()) return;' 'return;' ;;
    note-before-answer) mutate src/tef/settlement/store.cpp \
      '  if (sequence.empty()) return;
  // A copy left behind' \
      '  if (sequence.empty()) return;
  remove_copies(dsDirBkpTef, sequence, Notes::Included);
  // A copy left behind' ;;
    no-fsync) mutate src/support/file_write.cpp \
      '    fs.write_file(temporary, bytes);
    fs.flush_file(temporary);' '    fs.write_file(temporary, bytes);' ;;
    judged-unwhole) mutate src/tef/answer_wait.cpp \
      'const bool closed = EndsClosed(lines, *bytes);' \
      'const bool closed = !lines.empty();' ;;
    pending-dropped) mutate src/tef/sale.cpp \
      '  WriteFileInOneStep(dsDirPenTef + "intpos." + std::to_string(sale.transactionNumber), answer.Text());' '' ;;
    empty-sequence) mutate src/tef/settlement/confirmation.cpp \
      'AfterSettlement([&] { RemoveSettledAnswer(answerSequence); });' \
      'AfterSettlement([&] { RemoveSettledAnswer(answerSequence); DeleteIntPosFiles(dsDirBkpTef, ""); });' ;;
    other-sequence)
      mutate src/tef/sale.cpp 'if (answer.Field("001-000 ") != sequence) {' 'if (answer.Field("001-000 ").empty()) {'
      mutate src/tef/exchange_file.cpp ' && answer[1] == "001-000 = " + sequence;' ' && !sequence.empty();' ;;
    backups-unscanned) mutate src/tef/leftover_scan.cpp \
      'if (!settle(root, !leftovers_in_response,' 'if (!settle(root, !leftovers_in_response && false,' ;;
    unbacked-deleted) mutate src/tef/sale.cpp 'if (!safe_to_clear(response + name)) continue;' \
      'if (!safe_to_clear(response + name) && false) continue;' ;;
    scan-confirms) mutate src/tef/leftover_scan.cpp \
      'VerificaRetorno(context, list, notConfirm,' 'VerificaRetorno(context, list, notConfirm && false,' ;;
    partial-unconfirmed) mutate src/tef/sale.cpp \
      'if (!VerificaRetorno(sale.context, answer, false, "S")) {' 'if (true) {' ;;
    pending-emptied) mutate src/cancellation/cancellation.cpp \
      'DeleteIntPosFiles(dsDirPenTef, pendingSequence); });' 'DeleteIntPosFiles(dsDirPenTef, ""); });' ;;
    status-wait-unbounded) mutate src/tef/activity_check.cpp \
      'if (!held_since && waited.elapsed_ms() > kLimitMs) {' \
      'if (!held_since && waited.elapsed_ms() > 200 * kLimitMs) {' ;;
    one-sequence) mutate src/tef/settlement/store.cpp 'return AjustaZero(text, 10);' 'return AjustaZero("1", 10);' ;;
    taken-note-ignored) mutate src/tef/settlement/journal.cpp \
      'else taken = note.request.Field("000-000 ");' 'else platform::fs().remove_file(note.path);' ;;
    backup-number-reused) mutate src/tef/settlement/store.cpp 'next = number + 1;' 'next = number;' ;;
    notes-before-copies) mutate src/tef/settlement/store.cpp \
      '  gone = remove_copies(dsDirBkpTef, sequence, Notes::Skipped) && gone;
  if (!gone) return;' \
      '  gone = remove_copies(dsDirBkpTef, sequence, Notes::Included) && gone;
  if (!gone) return;' ;;
    marks-pruned-fresh) mutate src/tef/settlement/journal.cpp \
      'if (age_of(name) > kMarkLifetime) fs.remove_file' 'if (age_of(name) < kMarkLifetime) fs.remove_file' ;;
    pending-line-unwritten) mutate src/tef/settlement/journal.cpp \
      'if (!pending.empty()) text.Add(std::string(kPendingLine) + pending);' '(void)pending;' ;;
    pending-removal-wrong-key) mutate src/tef/settlement/journal.cpp \
      'if (!note.pending.empty() && !untaken(note)) DeleteIntPosFiles(dsDirPenTef, note.pending);' \
      'if (!note.pending.empty() && !untaken(note)) DeleteIntPosFiles(dsDirPenTef, note.request.Field("001-000 "));'
      # The same slip where a pending cancellation asks whether a copy ended.
      mutate src/tef/settlement/journal.cpp \
      'if (note.pending == pendingSequence && !untaken(note)) return true;' \
      'if (note.request.Field("001-000 ") == pendingSequence && !untaken(note)) return true;' ;;
    closing-memory-unused) mutate src/tef/answer_wait.cpp \
      'WritesClosingLine(path) ? kAnswerStalledMs : kAnswerQuietMs;' 'kAnswerQuietMs;' ;;
    doubt-unarmed) mutate src/tef/activity_check.cpp \
      'const bool doubtful = RemovesRequests(DirTef) || LateStatusMayCome(DirTef, operation);' \
      'const bool doubtful = LateStatusMayCome(DirTef, operation);' ;;
    status-other-accepted) mutate src/tef/exchange_file.cpp \
      '(its.empty() || its == sequence);' '(its.empty() || its == sequence || !its.empty());' ;;
    root-unscanned) mutate src/tef/leftover_scan.cpp \
      '    DirTef = root;
    const bool leftovers_in_response' \
      '    if (root == kRoots[0]) continue;
    DirTef = root;
    const bool leftovers_in_response' ;;
    too-large-unsettled) mutate src/tef/leftover_scan.cpp \
      '  BackUpHeadOf(path);
  if (!VerificaRetorno(context, first, true, "S")) return true;' '  (void)context;' ;;
    copy-no-fsync) mutate src/support/file_write.cpp \
      '        break;
      }
    }
    fs.flush_file(temporary);' \
      '        break;
      }
    }' ;;
    note-after-request) mutate src/tef/settlement/confirmation.cpp \
      '    SaveRequest(
        request, DirTef, [&] { NoteSettlementSent(request, answerSequence); },
        [&] { ForgetSettlement(request); });' \
      '    SaveRequest(request, DirTef, {}, [&] { ForgetSettlement(request); });
    NoteSettlementSent(request, answerSequence);' ;;
    withdrawn-reported-paid) mutate src/tef/sale.cpp \
      '    if (!ConfirmationWithdrawn(sequence)) return true;' \
      '    if (true) return true;' ;;
    *) return 1 ;;
  esac
}

names="no-note note-before-answer no-fsync judged-unwhole pending-dropped empty-sequence other-sequence
backups-unscanned unbacked-deleted scan-confirms partial-unconfirmed pending-emptied status-wait-unbounded
one-sequence taken-note-ignored
backup-number-reused notes-before-copies marks-pruned-fresh pending-line-unwritten pending-removal-wrong-key
closing-memory-unused doubt-unarmed status-other-accepted root-unscanned too-large-unsettled copy-no-fsync
note-after-request withdrawn-reported-paid"
[ -n "$only" ] && names=$only

echo "=== the package as it is: $histories days from seed $seed" >&2
build
play > "$work/baseline.txt"
echo "    $(wc -l < "$work/baseline.txt") of $histories days break an invariant without a planted fault" >&2

echo "| Planted fault | Caught | Days to the first catch | Invariant | Days caught |"
echo "|---|---|---:|---|---:|"
caught=0 total=0
for name in $names; do
  total=$((total + 1))
  touched=()
  plant "$name"
  built=yes
  build || built=no
  [ $built = yes ] && play > "$work/$name.txt"
  # The planted files back as they were, newer than their objects so that
  # the next build compiles them again.
  for file in "${touched[@]}"; do cp "$file" "$tree/$file"; done
  if [ $built = no ]; then
    echo "| $name | does not build | | | |"
    continue
  fi
  # Days that break an invariant the same day keeps without the fault.
  grep -vxF -f "$work/baseline.txt" "$work/$name.txt" > "$work/$name.new" || true
  days=$(wc -l < "$work/$name.new")
  if [ "$days" -gt 0 ]; then
    read -r first invariant < "$work/$name.new"
    caught=$((caught + 1))
    echo "| $name | yes | $((first - seed + 1)) | $invariant | $days |"
  else
    echo "| $name | **no** | | | 0 |"
  fi
done
echo
echo "caught: $caught of $total planted faults ($histories days from seed $seed each)"
[ "$caught" -eq "$total" ]
