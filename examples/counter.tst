# 4-bit ripple counter: every stage toggles on the falling edge of the stage before, so the
# count goes up by one on each falling edge of clk1. A "C" row pulses the clock: 0, 1, 0, each
# held for the settle time, then the outputs are compared.
# The pwl source por is not named here, so it runs as drawn (it resets the counter at start).
rst clk1 | q3 q2 q1 q0 digit1
1   0    | 0  0  0  0  0
0   0    | 0  0  0  0  0
0   C    | 0  0  0  1  1
0   C    | 0  0  1  0  2
0   C    | 0  0  1  1  3
# four more pulses without looking, then 8
repeat 4
0   C    | -  -  -  -  -
end
0   C    | 1  0  0  0  8
repeat 6
0   C    | -  -  -  -  -
end
0   C    | 1  1  1  1  F
# the sixteenth pulse wraps round to 0
0   C    | 0  0  0  0  0
0   C    | 0  0  0  1  1
# the rst button clears it again
1   0    | 0  0  0  0  0
