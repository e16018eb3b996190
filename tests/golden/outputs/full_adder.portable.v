// QIRO 2.3c
// examples/full_adder.sch
// Portable netlist: complete on its own for a Verilog simulator (checked with Icarus Verilog).
// A gate output at x does not drive in Qiro; on nodes with several drivers such outputs
// drive z here (qiro_drive). Two drivers at opposite levels on one node give x here,
// where Qiro keeps the later one in its symbol table.
// Delays: each output carries the delay of its Qiro delay line in ns (one step is 1 ns) as a transport delay: pulses of any width pass.
// Qiro's glitch filter (option, on by default) removes one-step pulses (010, 101) before they
// leave a line of 5 steps or more (a delay of 4 steps or more); this netlist keeps them.
// Qiro computes nothing before its first step (step 3): outputs decided by supplies alone
// settle here from time 0.

`timescale 1ns / 1ps
module full_adder(a, b, cin, s, cout);
 input a, b, cin;
 output s, cout;
 wire w4, w5, w7;
 reg xor4_r;
 always @* xor4_r <= #2 a ^ b;
 assign w4 = xor4_r;
 reg and5_r;
 always @* and5_r <= #1 a & b;
 assign w5 = and5_r;
 reg xor6_r;
 always @* xor6_r <= #1 w4 ^ cin;
 assign s = xor6_r;
 reg and7_r;
 always @* and7_r <= #1 w4 & cin;
 assign w7 = and7_r;
 reg or8_r;
 always @* or8_r <= #1 w5 | w7;
 assign cout = or8_r;
endmodule

// Simulation parameters
// a CLK 10 10
// b CLK 20 20
// cin CLK 30 30

// Testbench: the inputs follow the stimuli above from Qiro's first step (step 3) on; one step
// is 1 ns. Run: iverilog FILE && vvp a.out
module full_adder_tb;
  parameter STEPS = 600;
  localparam real TU = 1;
  reg a, b, cin;
  wire s, cout;
  integer step;
  full_adder dut(.a(a), .b(b), .cin(cin), .s(s), .cout(cout));
  initial begin
    $dumpfile("full_adder.vcd");
    $dumpvars(1, dut);
    #(3 * TU);
    a = 1'b0;
    b = 1'b0;
    cin = 1'b0;
    for (step = 3; step <= STEPS; step = step + 1) begin
      if (step % 20 == 0) a = 1'b0; else if (step % 20 == 10) a = 1'b1;  // button button1
      if (step % 40 == 0) b = 1'b0; else if (step % 40 == 20) b = 1'b1;  // button button2
      if (step % 60 == 0) cin = 1'b0; else if (step % 60 == 30) cin = 1'b1;  // button button3
      #(TU);
    end
    $finish;
  end
endmodule
Verilog description written in "-"
