#!/usr/bin/env bash
# Runs the portable-netlist differential test (Qiro against Icarus Verilog) on N random
# circuits (default 2000). Build first with ./dev build.
set -euo pipefail
cd "$(dirname "$0")/.."
QIRO_PORTABLE_CIRCUITS=${1:-2000} build/tests/qiro_core_tests --gtest_filter='PortableDifferential.*'
