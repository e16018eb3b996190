// QIRO 2.3c
// examples/half_adder.sch

module half_adder( a,b,sum,carry);
 input a,b;
 output sum,carry;
 xor xor3(sum,a,b);
 and and4(carry,a,b);
endmodule

// Simulation parameters
// a CLK 10 10
// b CLK 20 20
Verilog description written in "-"
