# Plays a file of command-line cases (see play_cases in cli_lib.sh) with the build's programs as
# $REPLAY, $LINT, $CONVERT, $NEW and $PACK.
ARGS="CASES BUILD REPO_ROOT" source "$(dirname "$0")/../cli_lib.sh"
for program in replay lint convert new pack; do printf -v "${program^^}" %s "$BUILD/veltrane-$program"; done
play_cases "$CASES"
passed "${CASES#"$REPO_ROOT/"}: all cases passed"
