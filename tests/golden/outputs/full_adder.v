// QIRO 2.3c
// examples/full_adder.sch

module full_adder( a,b,cin,s,cout);
 input a,b,cin;
 output s,cout;
 xor xor4(w4,a,b);
 and and5(w5,a,b);
 xor xor6(s,w4,cin);
 and and7(w7,w4,cin);
 or or8(cout,w5,w7);
endmodule

// Simulation parameters
// a CLK 10 10
// b CLK 20 20
// cin CLK 30 30
Verilog description written in "-"
