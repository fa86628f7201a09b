# A real print system for the tests that print: the CUPS scheduler with a queue "PDF" as the
# default printer, whose jobs become PDF files. Sourced by test.sh: `start_print_system` exports
# BRIVANTO_PRINT_OUTPUT, the folder where the current user's jobs land, and `stop_print_system`
# stops the scheduler again if start_print_system started it. When there can be no print system
# (no CUPS, no root rights, a scheduler that does not answer) start_print_system says why and
# leaves BRIVANTO_PRINT_OUTPUT unset, and the tests that print skip themselves; it never fails
# the run. Running it again is harmless: an existing queue is set up again in the same way.
#
# The queue's device is cups-pdf:/brivanto, so the backend reads /etc/cups/cups-pdf-brivanto.conf
# instead of the system's cups-pdf.conf and the output folder is ours to choose:
# /var/spool/brivanto-print/<user>. A job titled "Riepilogo dati" lands there as
# Riepilogo_dati-job_<n>.pdf: every character but letters and digits becomes "_", characters
# outside ASCII included, and trailing "_" are dropped. The queue uses the PPD without options,
# since the other one's defaults would override the file and take the title from inside the
# document instead of the job's title. The PDF a program sends becomes PostScript on its way to
# the backend; only the pdftocairo renderer keeps the text readable (pdftotext) at the other end.
print_system_queue=PDF
print_system_output_root=/var/spool/brivanto-print
print_system_ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
print_system_cupsd=/usr/sbin/cupsd
print_system_scheduler=""
print_system_as_root=()

print_system_running() {
    LC_ALL=C lpstat -r 2>/dev/null | grep -qx "scheduler is running"
}

# Waits, at most 30 s, until no job is left open: a job's PDF is complete only once its job is.
print_system_wait_for_jobs() {
    local _
    for _ in $(seq 300); do
        [ -z "$(lpstat -o "$print_system_queue" 2>/dev/null)" ] && return 0
        sleep 0.1
    done
    echo "jobs still open on $print_system_queue:" >&2
    lpstat -o "$print_system_queue" >&2
    return 1
}

start_print_system() {
    unset BRIVANTO_PRINT_OUTPUT
    local tool
    for tool in "$print_system_cupsd" /usr/lib/cups/backend/cups-pdf "$print_system_ppd"; do
        [ -e "$tool" ] || { echo "No print system for the tests: $tool is missing."; return 0; }
    done
    for tool in lpstat lpadmin cancel timeout pdftocairo; do
        command -v "$tool" >/dev/null || { echo "No print system for the tests: $tool is missing."; return 0; }
    done
    print_system_as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo -n true 2>/dev/null || {
            echo "No print system for the tests: setting up a printer needs root or sudo without a password."
            return 0
        }
        print_system_as_root=(sudo -n)
    fi
    local as_root=("${print_system_as_root[@]}")

    # In a container there is no service manager: the scheduler is started here, in the
    # foreground of a background job so that it can be stopped by its process id.
    if ! print_system_running; then
        "${as_root[@]}" "$print_system_cupsd" -f </dev/null >/dev/null 2>&1 &
        print_system_scheduler=$!
        local _
        for _ in $(seq 100); do
            print_system_running && break
            kill -0 "$print_system_scheduler" 2>/dev/null || break
            sleep 0.1
        done
        print_system_running || {
            echo "No print system for the tests: the CUPS scheduler did not start (see /var/log/cups/error_log)."
            stop_print_system
            return 0
        }
    fi

    local user group output log
    user=$(id -un)
    group=$(id -gn)
    output="$print_system_output_root/$user"
    log=$(mktemp)
    # The output folder is made in advance with the owner and mode the backend would give it, so
    # that it exists before the first job. What earlier runs printed is removed, after their jobs:
    # a scheduler stopped while a job was still open prints that job again when it starts.
    if ! { printf '%s\n' \
               "Out $print_system_output_root/\${USER}" \
               "Label 2" \
               "TitlePref 1" \
               "LogType 3" |
               "${as_root[@]}" tee /etc/cups/cups-pdf-brivanto.conf >/dev/null &&
           "${as_root[@]}" install -d -m 0755 "$print_system_output_root" &&
           "${as_root[@]}" install -d -m 0700 -o "$user" -g "$group" "$output" &&
           { ! lpstat -p "$print_system_queue" >/dev/null 2>&1 ||
             "${as_root[@]}" timeout 60 cancel -a -x "$print_system_queue"; } &&
           print_system_wait_for_jobs &&
           "${as_root[@]}" find "$output" -mindepth 1 -delete &&
           "${as_root[@]}" timeout 60 lpadmin -p "$print_system_queue" -E -v cups-pdf:/brivanto \
               -P "$print_system_ppd" -o pdftops-renderer-default=pdftocairo &&
           "${as_root[@]}" timeout 60 lpadmin -d "$print_system_queue"; } >"$log" 2>&1; then
        cat "$log"
        rm -f "$log"
        echo "No print system for the tests: the queue $print_system_queue could not be set up."
        return 0
    fi
    rm -f "$log"
    # The user's own choice (lpoptions, $PRINTER, $LPDEST) would win over the system default.
    local default
    default=$(LC_ALL=C lpstat -d 2>/dev/null || true)
    if [ "$default" != "system default destination: $print_system_queue" ]; then
        echo "No print system for the tests: the default printer is not $print_system_queue ($default)."
        return 0
    fi
    export BRIVANTO_PRINT_OUTPUT="$output"
    echo "Print system ready: printer $print_system_queue, jobs land in $BRIVANTO_PRINT_OUTPUT."
}

stop_print_system() {
    [ -n "$print_system_scheduler" ] || return 0
    print_system_wait_for_jobs || true
    "${print_system_as_root[@]}" kill "$print_system_scheduler" 2>/dev/null || true
    wait "$print_system_scheduler" 2>/dev/null || true
    print_system_scheduler=""
}
