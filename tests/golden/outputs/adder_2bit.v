// QIRO 2.3c
// examples/adder_2bit.sch

module adder_2bit( a0,b0,cin,a1,b1,s0,s1,cout);
 input a0,b0,cin,a1,b1;
 output s0,s1,cout;
 wire w10,w11,w12,w13,w14,w15;
 xor xor11(w10,a0,b0);
 and and12(w11,a0,b0);
 xor xor13(s0,w10,cin);
 and and14(w12,w10,cin);
 or or15(w7,w11,w12);
 xor xor16(w13,a1,b1);
 and and17(w14,a1,b1);
 xor xor18(s1,w13,w7);
 and and19(w15,w13,w7);
 or or20(cout,w14,w15);
endmodule

// Simulation parameters
// a0 CLK 10 10
// b0 CLK 20 20
// cin CLK 30 30
// a1 CLK 40 40
// b1 CLK 50 50
Verilog description written in "-"
