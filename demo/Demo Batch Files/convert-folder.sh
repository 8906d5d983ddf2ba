#!/bin/sh
# Converts every PowerPoint file below a folder to PDF, mirroring its subfolders.
# Usage: convert-folder.sh SOURCE_FOLDER TARGET_FOLDER
[ $# -eq 2 ] || { echo "usage: $0 SOURCE_FOLDER TARGET_FOLDER" >&2; exit 2; }
slidemill /S "$1/*.pptx" /R /T "$2/*.pdf" /C 32 /L "$2/slidemill_[YMD].log"
