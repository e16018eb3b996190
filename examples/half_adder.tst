# Half adder: sum = a xor b, carry = a and b.
# Run it with: qiro-cli test examples/half_adder.sch examples/half_adder.tst
a b | sum carry
0 0 | 0   0
0 1 | 1   0
1 0 | 1   0
1 1 | 0   1
