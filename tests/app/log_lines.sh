# Sourced by the program tests, which define fail.
# Fails unless the log file $1 holds each line of $2 (as part of a line), in that order.
expect_lines_in_order() {
    local log=$1 position=0 line found
    while IFS= read -r line; do
        found=$(grep -n -F -- "$line" "$log" | cut -d: -f1 | awk -v after="$position" '$1 > after {print; exit}')
        if [ -z "$found" ]; then
            fail "log line '$line' missing or out of order"
            cat "$log"
            return
        fi
        position=$found
    done <<<"$2"
}
