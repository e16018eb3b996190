// QIRO 2.3c
// examples/adder_2bit.sch
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
module adder_2bit(a0, b0, cin, a1, b1, s0, s1, cout);
 input a0, b0, cin, a1, b1;
 output s0, s1, cout;
 wire w10, w11, w12, w7, w13, w14, w15;
 reg xor11_r;
 always @* xor11_r <= #2 a0 ^ b0;
 assign w10 = xor11_r;
 reg and12_r;
 always @* and12_r <= #1 a0 & b0;
 assign w11 = and12_r;
 reg xor13_r;
 always @* xor13_r <= #1 w10 ^ cin;
 assign s0 = xor13_r;
 reg and14_r;
 always @* and14_r <= #1 w10 & cin;
 assign w12 = and14_r;
 reg or15_r;
 always @* or15_r <= #2 w11 | w12;
 assign w7 = or15_r;
 reg xor16_r;
 always @* xor16_r <= #2 a1 ^ b1;
 assign w13 = xor16_r;
 reg and17_r;
 always @* and17_r <= #1 a1 & b1;
 assign w14 = and17_r;
 reg xor18_r;
 always @* xor18_r <= #1 w13 ^ w7;
 assign s1 = xor18_r;
 reg and19_r;
 always @* and19_r <= #1 w13 & w7;
 assign w15 = and19_r;
 reg or20_r;
 always @* or20_r <= #1 w14 | w15;
 assign cout = or20_r;
endmodule

// Simulation parameters
// a0 CLK 10 10
// b0 CLK 20 20
// cin CLK 30 30
// a1 CLK 40 40
// b1 CLK 50 50

// Testbench: the inputs follow the stimuli above from Qiro's first step (step 3) on; one step
// is 1 ns. Run: iverilog FILE && vvp a.out
module adder_2bit_tb;
  parameter STEPS = 1000;
  localparam real TU = 1;
  reg a0, b0, cin, a1, b1;
  wire s0, s1, cout;
  integer step;
  adder_2bit dut(.a0(a0), .b0(b0), .cin(cin), .a1(a1), .b1(b1), .s0(s0), .s1(s1), .cout(cout));
  initial begin
    $dumpfile("adder_2bit.vcd");
    $dumpvars(1, dut);
    #(3 * TU);
    a0 = 1'b0;
    b0 = 1'b0;
    cin = 1'b0;
    a1 = 1'b0;
    b1 = 1'b0;
    for (step = 3; step <= STEPS; step = step + 1) begin
      if (step % 20 == 0) a0 = 1'b0; else if (step % 20 == 10) a0 = 1'b1;  // button button1
      if (step % 40 == 0) b0 = 1'b0; else if (step % 40 == 20) b0 = 1'b1;  // button button2
      if (step % 60 == 0) cin = 1'b0; else if (step % 60 == 30) cin = 1'b1;  // button button3
      if (step % 80 == 0) a1 = 1'b0; else if (step % 80 == 40) a1 = 1'b1;  // button button4
      if (step % 100 == 0) b1 = 1'b0; else if (step % 100 == 50) b1 = 1'b1;  // button button5
      #(TU);
    end
    $finish;
  end
endmodule
Verilog description written in "-"
