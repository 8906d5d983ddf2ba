#!/bin/sh
# Runs the demo conversion job unattended and appends the results to a dated log.
# The log and the exit code (0 all converted, 1 some files failed, 2 a bad command line) tell
# a calling script what happened.
slidemill /J "$HOME/.config/Lumenware, Inc/Slidemill/Demo Conversion Jobs/Convert Demo Data to PDF.MJB" \
          /L "$HOME/Documents/Slidemill Demo Output/demo_[YMD].log"
