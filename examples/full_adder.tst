# Full adder: s = a xor b xor cin, cout = a.b + cin.(a xor b).
# Every row holds its inputs for the default settle time (the longest delay path plus a margin).
a b cin | s cout
0 0 0   | 0 0
0 0 1   | 1 0
0 1 0   | 1 0
0 1 1   | 0 1
1 0 0   | 1 0
1 0 1   | 0 1
1 1 0   | 0 1
1 1 1   | 1 1
