#!/usr/bin/env bash
# A CUPS server with the PDF printer "LapidrawPDF" (cups-pdf) for the printing tests.
#   start: starts cupsd unless one runs already, adds the queue and makes it the default printer.
#   stop:  removes the queue if start added it, and ends the cupsd that start started (by its process
#          id), if any: /etc/cups/printers.conf is left as it was before start.
# Without cupsd or root rights it says so and leaves things as they are: the printing test then skips.
set -uo pipefail
QUEUE=LapidrawPDF
PIDFILE="${LAPIDRAW_CUPSD_PIDFILE:-/tmp/lapidraw-cupsd.pid}"
ADDEDFILE="${LAPIDRAW_CUPS_QUEUE_ADDED:-/tmp/lapidraw-cups-queue.added}"

scheduler_running() { lpstat -r 2>/dev/null | grep -q "is running"; }

start() {
  if ! command -v cupsd >/dev/null || ! command -v lpadmin >/dev/null; then
    echo "cups-pdf-queue: CUPS is not installed; the CUPS printing test will skip"
    return 0
  fi
  if ! scheduler_running; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "cups-pdf-queue: cupsd needs root to start; the CUPS printing test will skip"
      return 0
    fi
    cupsd -f >/dev/null 2>&1 &
    echo $! >"$PIDFILE"
    for _ in $(seq 50); do scheduler_running && break; sleep 0.2; done
  fi
  if ! scheduler_running; then
    echo "cups-pdf-queue: cupsd did not start; the CUPS printing test will skip"
    return 0
  fi
  # A queue of that name that was there before is the system's: stop leaves it alone.
  if ! lpstat -p "$QUEUE" >/dev/null 2>&1; then
    lpadmin -p "$QUEUE" -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o PageSize=A4 2>/dev/null &&
      : >"$ADDEDFILE"
  fi
  if lpstat -p "$QUEUE" >/dev/null 2>&1 && lpadmin -d "$QUEUE"; then
    echo "cups-pdf-queue: printer $QUEUE ready"
  else
    echo "cups-pdf-queue: the printer $QUEUE could not be added; the CUPS printing test will skip"
  fi
}

stop() {
  if [ -f "$ADDEDFILE" ]; then
    lpadmin -x "$QUEUE" 2>/dev/null || echo "cups-pdf-queue: the printer $QUEUE could not be removed" >&2
    rm -f "$ADDEDFILE"
  fi
  [ -f "$PIDFILE" ] || return 0
  local pid
  pid="$(cat "$PIDFILE")"
  if kill "$pid" 2>/dev/null; then
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$PIDFILE"
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop" >&2; exit 1 ;;
esac
