#!/usr/bin/env bash
# Prints the "Paths" section of a settings file that points the engine and
# the programs at a sample workspace written by crv_sample: its three
# databases (all in use) and its Data, Output and User folders.
# Usage: scripts/workspace_paths.sh WORKSPACE_FOLDER
set -euo pipefail
work="${1%/}"
cat <<INI
[Paths]
FCC Database=$work/db/FMALL.dat
QVA Database=$work/db/A108M118.dat
Use QVA DB=1
COM Database=$work/db/G118M136.dat
Use COM DB=1
Data Folder=$work/Data/
Output Folder=$work/Output/
User Folder=$work/User/
INI
